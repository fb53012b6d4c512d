// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the program's artwork (logo, launcher tiles and buttons, icons, the
// credits picture) as PNG files, each also at double size ("logo@2x.png").
// Run at build time:
//   fondaro-mkart <output folder> <name>...
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <cstdio>
#include <functional>
#include <map>

namespace {

const QColor kBlue(0x1E, 0x5A, 0xA8);
const QColor kDarkBlue(0x12, 0x35, 0x6B);
const QColor kTeal(0x17, 0x8F, 0x82);
const QColor kAmber(0xE0, 0x8A, 0x00);
const QColor kPurple(0x6E, 0x4A, 0xA8);
const QColor kGreen(0x2F, 0x9E, 0x44);
const QColor kRed(0xD0, 0x3B, 0x3B);
const QColor kGold(0xF2, 0xB7, 0x05);

QFont sans(int px, bool bold = true) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(px);
  f.setBold(bold);
  f.setStyleStrategy(QFont::PreferAntialias);
  return f;
}

QLinearGradient vertical(const QRectF& r, const QColor& top, const QColor& bottom) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  return g;
}

void roundedPanel(QPainter& p, const QRectF& r, const QColor& base, qreal radius) {
  p.setPen(Qt::NoPen);
  p.setBrush(vertical(r, base.lighter(135), base));
  p.drawRoundedRect(r, radius, radius);
}

// The product mark: a blue rounded square with a white "F" and three rising bars.
void drawLogo(QPainter& p, const QRectF& r) {
  const qreal s = r.width();
  roundedPanel(p, r, kBlue, s * 0.2);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 40));
  // The gloss stays on the panel: outside its rounded corner the picture is clear.
  QPainterPath panel;
  panel.addRoundedRect(r, s * 0.2, s * 0.2);
  p.save();
  p.setClipPath(panel);
  p.drawEllipse(QRectF(r.left() - s * 0.2, r.top() - s * 0.45, s * 1.1, s * 0.9));
  p.restore();
  // bars
  const qreal bw = s * 0.12;
  const qreal baseY = r.top() + s * 0.8;
  const QColor bars[] = {kGreen.lighter(120), kGold, QColor(255, 255, 255)};
  for (int i = 0; i < 3; ++i) {
    const qreal h = s * (0.22 + 0.14 * i);
    p.setBrush(bars[i]);
    p.drawRoundedRect(QRectF(r.left() + s * 0.52 + i * (bw + s * 0.03), baseY - h, bw, h), bw * 0.25,
                      bw * 0.25);
  }
  // the letter
  p.setPen(Qt::white);
  p.setFont(sans(int(s * 0.62)));
  p.drawText(QRectF(r.left() + s * 0.08, r.top() + s * 0.05, s * 0.5, s * 0.85), Qt::AlignCenter,
             QStringLiteral("F"));
  // a coin
  p.setPen(QPen(kGold.darker(130), s * 0.015));
  p.setBrush(kGold);
  const QRectF coin(r.left() + s * 0.62, r.top() + s * 0.1, s * 0.24, s * 0.24);
  p.drawEllipse(coin);
  p.setPen(kDarkBlue);
  p.setFont(sans(int(s * 0.17)));
  p.drawText(coin, Qt::AlignCenter, QString(QChar(0x20AC)));
}

void person(QPainter& p, QPointF c, qreal size, const QColor& colour) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawEllipse(QRectF(c.x() - size * 0.22, c.y() - size * 0.62, size * 0.44, size * 0.44));
  QPainterPath body;
  body.addRoundedRect(QRectF(c.x() - size * 0.4, c.y() - size * 0.12, size * 0.8, size * 0.62),
                      size * 0.3, size * 0.3);
  p.drawPath(body);
}

void tileBackground(QPainter& p, const QRectF& r, const QColor& base) {
  roundedPanel(p, r, base, 18);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 30));
  p.drawEllipse(QRectF(r.right() - 170, r.top() - 90, 260, 220));
  p.drawEllipse(QRectF(r.left() - 60, r.bottom() - 70, 180, 140));
}

void tileClienti(QPainter& p, const QRectF& r) {
  tileBackground(p, r, kBlue);
  // an address card
  const QRectF card(r.left() + 170, r.top() + 38, 170, 100);
  p.setBrush(Qt::white);
  p.drawRoundedRect(card, 10, 10);
  p.setBrush(QColor(0xDD, 0xE8, 0xF6));
  p.drawEllipse(QRectF(card.left() + 14, card.top() + 20, 46, 46));
  person(p, QPointF(card.left() + 37, card.top() + 58), 40, kBlue);
  p.setBrush(QColor(0xB8, 0xC8, 0xDE));
  for (int i = 0; i < 4; ++i)
    p.drawRoundedRect(QRectF(card.left() + 72, card.top() + 22 + i * 16, i == 0 ? 80 : 64 - i * 6, 7),
                      3, 3);
  person(p, QPointF(r.left() + 78, r.top() + 112), 86, QColor(255, 255, 255, 235));
  person(p, QPointF(r.left() + 128, r.top() + 126), 62, kGold);
}

void tileMovimenti(QPainter& p, const QRectF& r) {
  tileBackground(p, r, kTeal);
  const QRectF page(r.left() + 40, r.top() + 26, 150, 122);
  p.setBrush(Qt::white);
  p.drawRoundedRect(page, 8, 8);
  for (int i = 0; i < 5; ++i) {
    p.setBrush(i % 2 ? kRed.lighter(150) : kGreen.lighter(160));
    p.drawRoundedRect(QRectF(page.left() + 14, page.top() + 16 + i * 20, 18, 10), 3, 3);
    p.setBrush(QColor(0xC9, 0xD6, 0xD4));
    p.drawRoundedRect(QRectF(page.left() + 40, page.top() + 17 + i * 20, 90 - (i * 13) % 40, 8), 3, 3);
  }
  // money in and out
  auto arrow = [&](QPointF tip, bool up, const QColor& c) {
    QPainterPath a;
    const qreal d = up ? -1 : 1;
    a.moveTo(tip);
    a.lineTo(tip.x() - 30, tip.y() - d * 34);
    a.lineTo(tip.x() - 12, tip.y() - d * 34);
    a.lineTo(tip.x() - 12, tip.y() - d * 78);
    a.lineTo(tip.x() + 12, tip.y() - d * 78);
    a.lineTo(tip.x() + 12, tip.y() - d * 34);
    a.lineTo(tip.x() + 30, tip.y() - d * 34);
    a.closeSubpath();
    p.setBrush(c);
    p.drawPath(a);
  };
  arrow(QPointF(r.left() + 250, r.top() + 30), true, kGreen.lighter(115));
  arrow(QPointF(r.left() + 318, r.top() + 142), false, QColor(0xFF, 0x8A, 0x80));
}

void tileBilancio(QPainter& p, const QRectF& r) {
  tileBackground(p, r, kAmber);
  const QPointF top(r.center().x(), r.top() + 34);
  p.setPen(QPen(Qt::white, 7, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(top, QPointF(top.x(), r.top() + 140));
  p.drawLine(QPointF(top.x() - 110, top.y() + 10), QPointF(top.x() + 110, top.y() - 4));
  p.setPen(QPen(Qt::white, 2));
  auto pan = [&](QPointF hook) {
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(hook, QPointF(hook.x() - 34, hook.y() + 56));
    p.drawLine(hook, QPointF(hook.x() + 34, hook.y() + 56));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPainterPath bowl;
    bowl.moveTo(hook.x() - 44, hook.y() + 56);
    bowl.arcTo(QRectF(hook.x() - 44, hook.y() + 36, 88, 40), 180, 180);
    bowl.closeSubpath();
    p.drawPath(bowl);
  };
  pan(QPointF(top.x() - 110, top.y() + 10));
  pan(QPointF(top.x() + 110, top.y() - 4));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(top.x() - 50, r.top() + 136, 100, 14), 6, 6);
  p.setBrush(kGold.lighter(130));
  p.setPen(QPen(kAmber.darker(140), 1.5));
  for (int i = 0; i < 3; ++i) p.drawEllipse(QRectF(top.x() + 88 + i * 8, top.y() + 20 - i * 9, 26, 12));
}

void tileStats(QPainter& p, const QRectF& r) {
  tileBackground(p, r, kPurple);
  const qreal base = r.top() + 140;
  const qreal heights[] = {40, 70, 55, 95, 80, 110};
  const QColor colours[] = {kGold, kGreen.lighter(120), QColor(0x5B, 0xC0, 0xEB), kRed.lighter(120),
                            kGold, kGreen.lighter(120)};
  for (int i = 0; i < 6; ++i) {
    const qreal x = r.left() + 60 + i * 46;
    const qreal h = heights[i];
    const qreal w = 30;
    const qreal d = 10;
    const QColor c = colours[i];
    QPolygonF top{QPointF(x, base - h), QPointF(x + d, base - h - d), QPointF(x + w + d, base - h - d),
                  QPointF(x + w, base - h)};
    QPolygonF side{QPointF(x + w, base - h), QPointF(x + w + d, base - h - d), QPointF(x + w + d, base - d),
                   QPointF(x + w, base)};
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRect(QRectF(x, base - h, w, h));
    p.setBrush(c.lighter(130));
    p.drawPolygon(top);
    p.setBrush(c.darker(130));
    p.drawPolygon(side);
  }
  p.setPen(QPen(QColor(255, 255, 255, 200), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(r.left() + 44, base + 2), QPointF(r.right() - 40, base + 2));
}

// A bar with its top and right side in depth, standing on `base`.
void bar3D(QPainter& p, qreal x, qreal base, qreal w, qreal h, const QColor& c) {
  const qreal d = w / 3;
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawRect(QRectF(x, base - h, w, h));
  p.setBrush(c.lighter(130));
  p.drawPolygon(QPolygonF{QPointF(x, base - h), QPointF(x + d, base - h - d),
                          QPointF(x + w + d, base - h - d), QPointF(x + w, base - h)});
  p.setBrush(c.darker(130));
  p.drawPolygon(QPolygonF{QPointF(x + w, base - h), QPointF(x + w + d, base - h - d),
                          QPointF(x + w + d, base - d), QPointF(x + w, base)});
}

// A thick arrow from `from` to `to`.
void bigArrow(QPainter& p, QPointF from, QPointF to, const QColor& c) {
  const QLineF line(from, to);
  const QPointF n = line.normalVector().unitVector().p2() - line.p1();
  const QPointF u = line.unitVector().p2() - line.p1();
  const QPointF neck = to - u * 34;
  QPainterPath a;
  a.moveTo(from + n * 11);
  a.lineTo(neck + n * 11);
  a.lineTo(neck + n * 26);
  a.lineTo(to);
  a.lineTo(neck - n * 26);
  a.lineTo(neck - n * 11);
  a.lineTo(from - n * 11);
  a.closeSubpath();
  p.setPen(QPen(c.darker(150), 2));
  p.setBrush(c);
  p.drawPath(a);
}

// The monthly chart pictures: bars rising under an arrow going up (income) or
// falling under an arrow going down (expense).
void statsMonthly(QPainter& p, const QRectF& r, bool income) {
  tileBackground(p, r, income ? kGreen : kRed);
  const qreal base = r.top() + 140;
  const qreal rising[] = {30, 48, 40, 66, 80, 104};
  const QColor colours[] = {QColor(255, 255, 255, 235), kGold};
  for (int i = 0; i < 6; ++i)
    bar3D(p, r.left() + 40 + i * 40, base, 26, rising[income ? i : 5 - i], colours[i % 2]);
  p.setPen(QPen(QColor(255, 255, 255, 200), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(r.left() + 28, base + 2), QPointF(r.left() + 290, base + 2));
  const QColor arrow = income ? QColor(0xE8, 0xFF, 0xE8) : QColor(0xFF, 0xE4, 0xE0);
  const QPointF low(r.right() - 58, r.top() + 146);
  const QPointF high(r.right() - 58, r.top() + 24);
  bigArrow(p, income ? low : high, income ? high : low, arrow);
}

// The annual balance picture: the year's income and expense as two bars and as
// a pie cut in two.
void statsAnnual(QPainter& p, const QRectF& r) {
  tileBackground(p, r, kBlue);
  const qreal base = r.top() + 140;
  bar3D(p, r.left() + 50, base, 50, 104, kGreen.lighter(115));
  bar3D(p, r.left() + 130, base, 50, 72, kRed.lighter(115));
  p.setPen(QPen(QColor(255, 255, 255, 200), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(r.left() + 36, base + 2), QPointF(r.left() + 210, base + 2));
  const QRectF pie(r.left() + 234, r.top() + 40, 116, 80);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 50));
  p.drawEllipse(pie.translated(0, 14));
  p.setPen(QPen(Qt::white, 2));
  p.setBrush(kGreen.lighter(115));
  p.drawPie(pie, 90 * 16, 210 * 16);
  p.setBrush(kRed.lighter(115));
  p.drawPie(pie.translated(6, 2), 300 * 16, 150 * 16);
}

void button(QPainter& p, const QRectF& r, const QString& text, const QColor& base) {
  p.setPen(Qt::NoPen);
  p.setBrush(vertical(r, base.lighter(125), base.darker(115)));
  p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 12, 12);
  p.setPen(QColor(255, 255, 255, 60));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 11, 11);
  p.setPen(Qt::white);
  p.setFont(sans(18));
  p.drawText(r, Qt::AlignCenter, text);
}

void circleIcon(QPainter& p, const QRectF& r, const QColor& c) {
  p.setPen(Qt::NoPen);
  p.setBrush(vertical(r, c.lighter(130), c.darker(110)));
  p.drawEllipse(r.adjusted(2, 2, -2, -2));
  p.setBrush(QColor(255, 255, 255, 50));
  p.drawEllipse(QRectF(r.left() + r.width() * 0.2, r.top() + r.height() * 0.08, r.width() * 0.6,
                       r.height() * 0.38));
}

void letterIcon(QPainter& p, const QRectF& r, const QColor& c, const QString& letter) {
  circleIcon(p, r, c);
  p.setPen(Qt::white);
  p.setFont(sans(int(r.height() * 0.58)));
  p.drawText(r, Qt::AlignCenter, letter);
}

void powerIcon(QPainter& p, const QRectF& r) {
  circleIcon(p, r, kRed);
  const qreal s = r.width();
  p.setPen(QPen(Qt::white, s * 0.09, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  const QRectF arc = r.adjusted(s * 0.27, s * 0.29, -s * 0.27, -s * 0.25);
  p.drawArc(arc, 120 * 16, 300 * 16);
  p.drawLine(QPointF(r.center().x(), r.top() + s * 0.2), QPointF(r.center().x(), r.center().y()));
}

// Safety copies: a sheet inside a circling arrow.
void copiesIcon(QPainter& p, const QRectF& r) {
  circleIcon(p, r, kTeal);
  const qreal s = r.width();
  const QPointF c = r.center();
  p.setPen(QPen(Qt::white, s * 0.075, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  const QRectF ring(c.x() - s * 0.29, c.y() - s * 0.29, s * 0.58, s * 0.58);
  p.drawArc(ring, 110 * 16, 290 * 16);
  // the arrow head at the start of the arc (its upper left end), pointing on round
  const qreal a = qDegreesToRadians(110.0);
  const QPointF tip(c.x() + std::cos(a) * s * 0.29, c.y() - std::sin(a) * s * 0.29);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygonF{tip + QPointF(-s * 0.13, -s * 0.02), tip + QPointF(s * 0.06, -s * 0.12),
                          tip + QPointF(s * 0.04, s * 0.1)});
  // the sheet
  const QRectF sheet(c.x() - s * 0.12, c.y() - s * 0.15, s * 0.24, s * 0.3);
  p.drawRoundedRect(sheet, s * 0.03, s * 0.03);
  p.setPen(QPen(kTeal, s * 0.035));
  for (int i = 0; i < 3; ++i) {
    const qreal y = sheet.top() + sheet.height() * (0.3 + 0.22 * i);
    p.drawLine(QPointF(sheet.left() + s * 0.05, y), QPointF(sheet.right() - s * 0.05, y));
  }
}

void pdfIcon(QPainter& p, const QRectF& r) {
  const qreal s = r.width();
  QPainterPath page;
  page.moveTo(r.left() + s * 0.18, r.top() + s * 0.04);
  page.lineTo(r.left() + s * 0.62, r.top() + s * 0.04);
  page.lineTo(r.left() + s * 0.84, r.top() + s * 0.26);
  page.lineTo(r.left() + s * 0.84, r.top() + s * 0.96);
  page.lineTo(r.left() + s * 0.18, r.top() + s * 0.96);
  page.closeSubpath();
  p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
  p.setBrush(Qt::white);
  p.drawPath(page);
  p.setBrush(QColor(0xDD, 0xDD, 0xDD));
  p.drawPolygon(QPolygonF{QPointF(r.left() + s * 0.62, r.top() + s * 0.04),
                          QPointF(r.left() + s * 0.62, r.top() + s * 0.26),
                          QPointF(r.left() + s * 0.84, r.top() + s * 0.26)});
  p.setPen(Qt::NoPen);
  p.setBrush(kRed);
  const QRectF band(r.left() + s * 0.04, r.top() + s * 0.5, s * 0.72, s * 0.3);
  p.drawRoundedRect(band, 2, 2);
  p.setPen(Qt::white);
  p.setFont(sans(int(s * 0.24)));
  p.drawText(band, Qt::AlignCenter, QStringLiteral("PDF"));
}

void emailIcon(QPainter& p, const QRectF& r) {
  const qreal s = r.width();
  const QRectF env(r.left() + s * 0.06, r.top() + s * 0.2, s * 0.88, s * 0.6);
  p.setPen(QPen(kBlue.darker(120), 1.2));
  p.setBrush(vertical(env, Qt::white, QColor(0xE4, 0xEC, 0xF7)));
  p.drawRoundedRect(env, 3, 3);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kBlue, s * 0.06, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygonF{env.topLeft() + QPointF(s * 0.06, s * 0.06), QPointF(env.center().x(), env.center().y() + s * 0.04),
                           env.topRight() + QPointF(-s * 0.06, s * 0.06)});
}

void globe(QPainter& p, const QRectF& r, const QColor& c) {
  const qreal s = r.width();
  p.setPen(QPen(c, s * 0.07));
  p.setBrush(Qt::NoBrush);
  const QRectF g = r.adjusted(s * 0.1, s * 0.1, -s * 0.1, -s * 0.1);
  p.drawEllipse(g);
  p.drawEllipse(g.adjusted(g.width() * 0.28, 0, -g.width() * 0.28, 0));
  p.drawLine(QPointF(g.left(), g.center().y()), QPointF(g.right(), g.center().y()));
  p.drawLine(QPointF(g.center().x(), g.top()), QPointF(g.center().x(), g.bottom()));
}

void webIcon(QPainter& p, const QRectF& r) {
  circleIcon(p, r, kTeal);
  globe(p, r.adjusted(r.width() * 0.12, r.width() * 0.12, -r.width() * 0.12, -r.width() * 0.12), Qt::white);
}

void title(QPainter& p, const QRectF& r) {
  p.setFont(sans(int(r.height() * 0.78)));
  p.setPen(QColor(0, 0, 0, 50));
  p.drawText(r.translated(2, 3), Qt::AlignCenter, QStringLiteral("Fondaro 3.0"));
  p.setPen(kDarkBlue);
  p.drawText(r, Qt::AlignCenter, QStringLiteral("Fondaro 3.0"));
}

void subtitle(QPainter& p, const QRectF& r) {
  QFont f = sans(int(r.height() * 0.62), false);
  f.setItalic(true);
  p.setFont(f);
  p.setPen(QColor(0x33, 0x44, 0x55));
  p.drawText(r, Qt::AlignCenter,
             QString::fromUtf8("Contabilit\xC3\xA0 di cassa, primanota e statistiche"));
}

void version(QPainter& p, const QRectF& r) {
  p.setPen(Qt::NoPen);
  p.setBrush(kGold);
  p.drawRoundedRect(r.adjusted(1, 1, -1, -1), r.height() / 2 - 1, r.height() / 2 - 1);
  p.setPen(kDarkBlue);
  p.setFont(sans(int(r.height() * 0.56)));
  p.drawText(r, Qt::AlignCenter, QStringLiteral("Versione 3.0"));
}

void site(QPainter& p, const QRectF& r) {
  p.setPen(Qt::NoPen);
  p.setBrush(vertical(r, kTeal.lighter(120), kTeal.darker(110)));
  p.drawRoundedRect(r.adjusted(1, 1, -1, -1), r.height() / 2 - 1, r.height() / 2 - 1);
  globe(p, QRectF(r.left() + 8, r.top() + 4, r.height() - 8, r.height() - 8), Qt::white);
  p.setPen(Qt::white);
  p.setFont(sans(int(r.height() * 0.5)));
  p.drawText(r.adjusted(r.height(), 0, 0, 0), Qt::AlignCenter, QStringLiteral("www.fondaro.example"));
}

void splash(QPainter& p, const QRectF& r) {
  p.fillRect(r, vertical(r, kBlue.lighter(115), kDarkBlue));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 22));
  p.drawEllipse(QRectF(r.right() - 320, r.top() - 200, 520, 460));
  p.drawEllipse(QRectF(r.left() - 140, r.bottom() - 150, 360, 300));
  // rising bars along the bottom
  for (int i = 0; i < 12; ++i) {
    const qreal h = 20 + 9 * i + (i % 3) * 7;
    p.setBrush(QColor(255, 255, 255, 26 + i * 4));
    p.drawRoundedRect(QRectF(r.right() - 24 - (12 - i) * 26, r.bottom() - h, 18, h + 6), 4, 4);
  }
  drawLogo(p, QRectF(r.left() + 44, r.top() + 60, 150, 150));
  p.setPen(Qt::white);
  p.setFont(sans(54));
  p.drawText(QRectF(r.left() + 220, r.top() + 62, 380, 70), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Fondaro 3.0"));
  p.setFont(sans(18, false));
  p.drawText(QRectF(r.left() + 222, r.top() + 136, 390, 80), Qt::AlignLeft | Qt::TextWordWrap,
             QString::fromUtf8("Contabilit\xC3\xA0 semplice per piccole imprese, associazioni e famiglie"));
  p.setFont(sans(14, false));
  p.setPen(QColor(255, 255, 255, 210));
  p.drawText(QRectF(r.left() + 44, r.bottom() - 76, 360, 24), Qt::AlignLeft | Qt::AlignVCenter,
             QString::fromUtf8("\xC2\xA9 Fondaro Software"));
  p.drawText(QRectF(r.left() + 44, r.bottom() - 52, 360, 24), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("www.fondaro.example"));
}

// A desk printer with a sheet coming out, for the printing windows.
void printerPicture(QPainter& p, const QRectF& r) {
  const qreal u = r.width() / 96;
  p.setPen(QPen(kDarkBlue, 2 * u));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(r.left() + 26 * u, r.top() + 8 * u, 44 * u, 30 * u));  // paper in the tray
  QPainterPath body;
  body.addRoundedRect(QRectF(r.left() + 8 * u, r.top() + 34 * u, 80 * u, 36 * u), 8 * u, 8 * u);
  p.setBrush(vertical(r, QColor(0x9A, 0xB4, 0xD6), kBlue));
  p.drawPath(body);
  p.setBrush(kGreen);
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(r.left() + 76 * u, r.top() + 46 * u), 4 * u, 4 * u);
  p.setPen(QPen(kDarkBlue, 2 * u));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(r.left() + 24 * u, r.top() + 58 * u, 48 * u, 30 * u));  // the printed sheet
  p.setPen(QPen(QColor(0x7A, 0x86, 0x99), 1.5 * u));
  for (int i = 0; i < 3; ++i)
    p.drawLine(QPointF(r.left() + 30 * u, r.top() + (68 + 7 * i) * u),
               QPointF(r.left() + (66 - 8 * i) * u, r.top() + (68 + 7 * i) * u));
}

// ---- The editors' toolbar and field buttons, drawn on a 32 grid ----------

enum class Pic {
  Nuovo, Duplica, Salva, Trova, Allega, Stampa, Primo, Indietro, Avanti, Ultimo, Esporta, Scadenze,
  Cancella, Importa, Controlla, Anteprima, Pdf, Ricontatta, Ripeti,
  Ingrandisci, Riduci, AdattaLarghezza, PaginaIntera, SchermoIntero, Chiudi,
};

const QColor kIconInk(0x1E, 0x3A, 0x6E);
const QColor kIconGreen(0x2E, 0x9E, 0x4F);
const QColor kIconBlue(0x2F, 0x6F, 0xC8);
const QColor kIconRed(0xD0, 0x3A, 0x2F);

void pageIcon(QPainter& p, const QRectF& r) {
  QPainterPath path;
  const qreal fold = r.width() * 0.3;
  path.moveTo(r.topLeft());
  path.lineTo(r.right() - fold, r.top());
  path.lineTo(r.right(), r.top() + fold);
  path.lineTo(r.bottomRight());
  path.lineTo(r.bottomLeft());
  path.closeSubpath();
  p.setPen(QPen(kIconInk, 1.5));
  p.setBrush(Qt::white);
  p.drawPath(path);
  p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
  p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void arrowHead(QPainter& p, qreal x, qreal cy, qreal w, qreal h, bool right) {
  QPolygonF t;
  if (right) t << QPointF(x, cy - h / 2) << QPointF(x + w, cy) << QPointF(x, cy + h / 2);
  else t << QPointF(x + w, cy - h / 2) << QPointF(x, cy) << QPointF(x + w, cy + h / 2);
  p.drawPolygon(t);
}

// A green arrow going round a circle (repetition), centred at c.
void roundArrow(QPainter& p, const QPointF& c, qreal radius) {
  p.setPen(QPen(kIconGreen, 2.6, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius), 90 * 16, 280 * 16);
  p.setPen(Qt::NoPen);
  p.setBrush(kIconGreen);
  const QPointF tip(c.x(), c.y() - radius);
  p.drawPolygon(QPolygonF{tip + QPointF(4.2, 0), tip + QPointF(-1.2, -3.6), tip + QPointF(-1.2, 3.6)});
}

// The magnifier of the zoom buttons, with a plus or a minus in its glass.
void zoomLens(QPainter& p, bool in) {
  p.setPen(QPen(kIconInk, 3));
  p.setBrush(QColor(0xE4, 0xF0, 0xFF));
  p.drawEllipse(QPointF(13, 13), 9, 9);
  p.setPen(QPen(kIconInk, 5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(20, 20), QPointF(28, 28));
  p.setPen(QPen(in ? kIconGreen : kIconRed, 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(8.5, 13), QPointF(17.5, 13));
  if (in) p.drawLine(QPointF(13, 8.5), QPointF(13, 17.5));
}

// A blue double arrow across a page: the page as wide as the window.
void fitWidthPicture(QPainter& p) {
  pageIcon(p, QRectF(8, 3, 16, 26));
  p.setPen(QPen(kIconBlue, 2.5));
  p.drawLine(QPointF(6, 16), QPointF(26, 16));
  p.setPen(Qt::NoPen);
  p.setBrush(kIconBlue);
  arrowHead(p, 1, 16, 7, 10, false);
  arrowHead(p, 24, 16, 7, 10, true);
}

// The four corners of a frame, blue, around a page or inside a screen.
void frameCorners(QPainter& p, const QRectF& r, qreal arm) {
  p.setPen(QPen(kIconBlue, 2.8, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(Qt::NoBrush);
  for (const bool right : {false, true})
    for (const bool bottom : {false, true}) {
      const QPointF c(right ? r.right() : r.left(), bottom ? r.bottom() : r.top());
      const qreal dx = right ? -arm : arm, dy = bottom ? -arm : arm;
      p.drawPolyline(QPolygonF{c + QPointF(dx, 0), c, c + QPointF(0, dy)});
    }
}

// A screen whose corners push outwards.
void fullScreenPicture(QPainter& p) {
  p.setPen(QPen(kIconInk, 1.5));
  p.setBrush(QColor(0xE4, 0xF0, 0xFF));
  p.drawRoundedRect(QRectF(6, 8, 20, 16), 2, 2);
  frameCorners(p, QRectF(2.5, 3.5, 27, 25), 7);
  p.setPen(QPen(kIconBlue, 2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(10, 12), QPointF(4, 5.5));
  p.drawLine(QPointF(22, 12), QPointF(28, 5.5));
  p.drawLine(QPointF(10, 20), QPointF(4, 26.5));
  p.drawLine(QPointF(22, 20), QPointF(28, 26.5));
}

void drawToolIcon(QPainter& p, Pic pic, const QRectF& r) {
  const qreal u = r.width() / 32.0;  // drawn on a 32 grid
  p.translate(r.topLeft());
  p.scale(u, u);
  p.setRenderHint(QPainter::Antialiasing);
  switch (pic) {
    case Pic::Nuovo:
      pageIcon(p, QRectF(6, 3, 20, 26));
      p.setPen(QPen(kIconGreen, 4, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(22, 17), QPointF(22, 29));
      p.drawLine(QPointF(16, 23), QPointF(28, 23));
      break;
    case Pic::Duplica:
      pageIcon(p, QRectF(3, 2, 18, 23));
      pageIcon(p, QRectF(11, 8, 18, 23));
      break;
    case Pic::Salva:
      p.setPen(QPen(kIconInk, 1.5));
      p.setBrush(kIconBlue);
      p.drawRoundedRect(QRectF(4, 4, 24, 24), 3, 3);
      p.setBrush(Qt::white);
      p.drawRect(QRectF(9, 4, 14, 9));
      p.setBrush(QColor(0xDD, 0xE6, 0xF3));
      p.drawRect(QRectF(8, 18, 16, 10));
      break;
    case Pic::Trova:
      p.setPen(QPen(kIconInk, 3));
      p.setBrush(QColor(0xE4, 0xF0, 0xFF));
      p.drawEllipse(QPointF(13, 13), 8, 8);
      p.setPen(QPen(kIconInk, 5, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(19, 19), QPointF(27, 27));
      break;
    case Pic::Allega: {
      p.setPen(QPen(kIconInk, 2.2, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      QPainterPath clip;
      clip.moveTo(20, 10);
      clip.lineTo(20, 24);
      clip.arcTo(QRectF(12, 20, 8, 8), 0, -180);
      clip.lineTo(12, 7);
      clip.arcTo(QRectF(12, 2, 12, 10), 180, -180);
      clip.lineTo(24, 25);
      clip.arcTo(QRectF(8, 18, 16, 12), 0, -180);
      clip.lineTo(8, 12);
      p.drawPath(clip);
      break;
    }
    case Pic::Stampa:
      p.setPen(QPen(kIconInk, 1.5));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(9, 3, 14, 10));
      p.setBrush(QColor(0x8A, 0x96, 0xA8));
      p.drawRoundedRect(QRectF(3, 11, 26, 12), 3, 3);
      p.setBrush(Qt::white);
      p.drawRect(QRectF(9, 19, 14, 10));
      p.setPen(QPen(kIconInk, 1));
      p.drawLine(QPointF(11, 23), QPointF(21, 23));
      p.drawLine(QPointF(11, 26), QPointF(19, 26));
      p.setBrush(kIconGreen);
      p.drawEllipse(QPointF(25, 15), 1.5, 1.5);
      break;
    case Pic::Primo:
    case Pic::Indietro:
    case Pic::Avanti:
    case Pic::Ultimo: {
      p.setPen(QPen(kIconInk, 1.2));
      p.setBrush(kIconBlue);
      const bool right = pic == Pic::Avanti || pic == Pic::Ultimo;
      const bool bar = pic == Pic::Primo || pic == Pic::Ultimo;
      arrowHead(p, right ? 9 : 8, 16, 15, 20, right);
      if (bar) p.drawRect(right ? QRectF(24, 6, 4, 20) : QRectF(4, 6, 4, 20));
      break;
    }
    case Pic::Esporta:
      p.setPen(QPen(QColor(0x1D, 0x6F, 0x42), 1.5));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(3, 4, 22, 24));
      for (int i = 1; i < 4; ++i) p.drawLine(QPointF(3, 4 + i * 6), QPointF(25, 4 + i * 6));
      p.drawLine(QPointF(12, 4), QPointF(12, 28));
      p.setBrush(QColor(0x1D, 0x6F, 0x42));
      p.drawRect(QRectF(3, 4, 22, 6));
      p.setPen(QPen(kIconGreen, 3.5, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(19, 22), QPointF(29, 22));
      p.drawLine(QPointF(25, 18), QPointF(29, 22));
      p.drawLine(QPointF(25, 26), QPointF(29, 22));
      break;
    case Pic::Scadenze:
      p.setPen(QPen(kIconInk, 2));
      p.setBrush(QColor(0xFF, 0xF4, 0xD6));
      p.drawEllipse(QPointF(16, 16), 13, 13);
      p.setPen(QPen(kIconRed, 2.5, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(16, 16), QPointF(16, 7));
      p.drawLine(QPointF(16, 16), QPointF(22, 19));
      break;
    case Pic::Ripeti:
      pageIcon(p, QRectF(3, 2, 18, 23));
      p.setPen(QPen(kIconInk, 1));
      for (int i = 0; i < 3; ++i) p.drawLine(QPointF(6, 11 + 4 * i), QPointF(14, 11 + 4 * i));
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::white);
      p.drawEllipse(QPointF(21.5, 21.5), 9.5, 9.5);
      roundArrow(p, QPointF(21.5, 21.5), 6.5);
      break;
    case Pic::Cancella:
      p.setPen(QPen(kIconRed, 4, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(8, 8), QPointF(24, 24));
      p.drawLine(QPointF(24, 8), QPointF(8, 24));
      break;
    case Pic::Importa:
      p.setPen(QPen(kIconInk, 1.5));
      p.setBrush(QColor(0xFF, 0xE0, 0x9A));
      p.drawRoundedRect(QRectF(2, 5, 28, 22), 3, 3);
      p.setBrush(kIconBlue);
      p.drawEllipse(QPointF(11, 13), 4, 4);
      p.drawChord(QRectF(4, 17, 14, 12), 0, 180 * 16);
      p.setPen(QPen(kIconInk, 2));
      p.drawLine(QPointF(20, 12), QPointF(27, 12));
      p.drawLine(QPointF(20, 17), QPointF(27, 17));
      break;
    case Pic::Controlla:
      p.setPen(QPen(kIconGreen, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawPolyline(QPolygonF() << QPointF(6, 17) << QPointF(13, 24) << QPointF(26, 8));
      break;
    case Pic::Anteprima:
      pageIcon(p, QRectF(3, 2, 20, 26));
      p.setPen(QPen(kIconInk, 2.5));
      p.setBrush(QColor(0xE4, 0xF0, 0xFF));
      p.drawEllipse(QPointF(18, 18), 6.5, 6.5);
      p.setPen(QPen(kIconInk, 4, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(23, 23), QPointF(29, 29));
      break;
    case Pic::Pdf: {
      pageIcon(p, QRectF(5, 2, 22, 28));
      p.setPen(Qt::NoPen);
      p.setBrush(kIconRed);
      p.drawRoundedRect(QRectF(2, 15, 22, 10), 2, 2);
      QFont f(QStringLiteral("DejaVu Sans"));
      f.setPixelSize(8);
      f.setBold(true);
      p.setFont(f);
      p.setPen(Qt::white);
      p.drawText(QRectF(2, 15, 22, 10), Qt::AlignCenter, QStringLiteral("PDF"));
      break;
    }
    case Pic::Ingrandisci:
    case Pic::Riduci:
      zoomLens(p, pic == Pic::Ingrandisci);
      break;
    case Pic::AdattaLarghezza:
      fitWidthPicture(p);
      break;
    case Pic::PaginaIntera:
      pageIcon(p, QRectF(9, 5, 14, 22));
      frameCorners(p, QRectF(3, 2, 26, 28), 7);
      break;
    case Pic::SchermoIntero:
      fullScreenPicture(p);
      break;
    case Pic::Chiudi:
      p.setPen(QPen(kIconRed.darker(130), 1.5));
      p.setBrush(kIconRed);
      p.drawEllipse(QPointF(16, 16), 13, 13);
      p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(11, 11), QPointF(21, 21));
      p.drawLine(QPointF(21, 11), QPointF(11, 21));
      break;
    case Pic::Ricontatta: {
      QPainterPath handset;
      handset.moveTo(7, 4);
      handset.lineTo(12, 4);
      handset.lineTo(14, 10);
      handset.lineTo(11, 13);
      handset.cubicTo(13, 18, 15, 20, 19, 22);
      handset.lineTo(22, 19);
      handset.lineTo(28, 21);
      handset.lineTo(28, 26);
      handset.cubicTo(18, 29, 4, 16, 7, 4);
      p.setPen(QPen(kIconInk, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(kIconBlue);
      p.drawPath(handset);
      p.setPen(QPen(kIconRed, 2.2, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(16, 2, 14, 14), 0, 90 * 16);
      p.drawArc(QRectF(19, 5, 8, 8), 0, 90 * 16);
      break;
    }
  }
}

// A hand pointing left with its index finger, drawn on a 32 grid: what stands
// beside a button to say "click here".
void pointingHand(QPainter& p, const QRectF& r) {
  p.translate(r.topLeft());
  p.scale(r.width() / 32.0, r.height() / 32.0);
  QPainterPath hand;
  hand.moveTo(3, 11);
  hand.cubicTo(1, 11, 1, 15, 3, 15);
  hand.lineTo(15, 15);
  hand.lineTo(15, 17);
  hand.cubicTo(13, 17, 13, 20.5, 15, 20.5);
  hand.cubicTo(13, 20.5, 13, 24, 15, 24);
  hand.cubicTo(13.5, 24, 13.5, 27.5, 15.5, 27.5);
  hand.lineTo(24, 27.5);
  hand.cubicTo(27, 27.5, 29, 26, 30, 24);
  hand.lineTo(30, 13);
  hand.cubicTo(27, 11, 24, 9, 20, 8);
  hand.cubicTo(18, 7.5, 16, 9, 15.5, 11);
  hand.closeSubpath();
  p.setPen(QPen(kIconInk, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(QColor(0xFF, 0xE0, 0xBD));
  p.drawPath(hand);
  p.setPen(QPen(kIconInk, 1.1, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(15, 17), QPointF(20, 17));
  p.drawLine(QPointF(15, 20.5), QPointF(20, 20.5));
  p.drawLine(QPointF(15, 24), QPointF(20, 24));
  p.setBrush(QColor(0x2F, 0x6F, 0xC8));
  p.drawRect(QRectF(30, 12, 2, 13));
}

struct Art {
  QSize size;
  std::function<void(QPainter&, const QRectF&)> draw;
};

std::map<QString, Art> catalogue() {
  using P = QPainter;
  using R = const QRectF&;
  std::map<QString, Art> arts = {
      {QStringLiteral("logo"), {{128, 128}, [](P& p, R r) { drawLogo(p, r); }}},
      {QStringLiteral("logo_small"), {{64, 64}, [](P& p, R r) { drawLogo(p, r); }}},
      {QStringLiteral("splash"), {{625, 380}, [](P& p, R r) { splash(p, r); }}},
      {QStringLiteral("tile_clienti"), {{380, 170}, [](P& p, R r) { tileClienti(p, r); }}},
      {QStringLiteral("tile_movimenti"), {{380, 170}, [](P& p, R r) { tileMovimenti(p, r); }}},
      {QStringLiteral("tile_bilancio"), {{380, 170}, [](P& p, R r) { tileBilancio(p, r); }}},
      {QStringLiteral("tile_stats"), {{380, 170}, [](P& p, R r) { tileStats(p, r); }}},
      {QStringLiteral("stats_entrate"), {{380, 170}, [](P& p, R r) { statsMonthly(p, r, true); }}},
      {QStringLiteral("stats_uscite"), {{380, 170}, [](P& p, R r) { statsMonthly(p, r, false); }}},
      {QStringLiteral("stats_bilancio"), {{380, 170}, [](P& p, R r) { statsAnnual(p, r); }}},
      {QStringLiteral("btn_clienti"),
       {{380, 44}, [](P& p, R r) { button(p, r, QStringLiteral("PAGATORI E BENEFICIARI"), kBlue); }}},
      {QStringLiteral("btn_movimenti"),
       {{380, 44}, [](P& p, R r) { button(p, r, QStringLiteral("REGISTRO MOVIMENTI"), kTeal); }}},
      {QStringLiteral("btn_bilancio"),
       {{380, 44}, [](P& p, R r) { button(p, r, QStringLiteral("PRIMANOTA E BILANCIO"), kAmber); }}},
      {QStringLiteral("btn_stats"),
       {{380, 44}, [](P& p, R r) { button(p, r, QStringLiteral("GRAFICI STATISTICI"), kPurple); }}},
      {QStringLiteral("ico_guida"), {{48, 48}, [](P& p, R r) { letterIcon(p, r, kGreen, QStringLiteral("?")); }}},
      {QStringLiteral("ico_info"), {{48, 48}, [](P& p, R r) { letterIcon(p, r, kBlue, QStringLiteral("i")); }}},
      {QStringLiteral("ico_copyright"),
       {{48, 48}, [](P& p, R r) { letterIcon(p, r, kAmber, QString(QChar(0x00A9))); }}},
      {QStringLiteral("ico_esci"), {{48, 48}, [](P& p, R r) { powerIcon(p, r); }}},
      {QStringLiteral("ico_copie"), {{48, 48}, [](P& p, R r) { copiesIcon(p, r); }}},
      {QStringLiteral("ico_pdf"), {{32, 32}, [](P& p, R r) { pdfIcon(p, r); }}},
      {QStringLiteral("ico_email"), {{32, 32}, [](P& p, R r) { emailIcon(p, r); }}},
      {QStringLiteral("ico_web"), {{32, 32}, [](P& p, R r) { webIcon(p, r); }}},
      {QStringLiteral("titolo"), {{560, 64}, [](P& p, R r) { title(p, r); }}},
      {QStringLiteral("sottotitolo"), {{560, 28}, [](P& p, R r) { subtitle(p, r); }}},
      {QStringLiteral("versione"), {{150, 28}, [](P& p, R r) { version(p, r); }}},
      {QStringLiteral("sito"), {{300, 36}, [](P& p, R r) { site(p, r); }}},
      {QStringLiteral("stampante"), {{96, 96}, [](P& p, R r) { printerPicture(p, r); }}},
      {QStringLiteral("tb_nuovo"), {{64, 64}, [](P& p, R r) { drawToolIcon(p, Pic::Nuovo, r); }}},
      {QStringLiteral("tb_duplica"), {{64, 64}, [](P& p, R r) { drawToolIcon(p, Pic::Duplica, r); }}},
      {QStringLiteral("tb_salva"), {{64, 64}, [](P& p, R r) { drawToolIcon(p, Pic::Salva, r); }}},
      {QStringLiteral("tb_trova"), {{64, 64}, [](P& p, R r) { drawToolIcon(p, Pic::Trova, r); }}},
      {QStringLiteral("tb_allega"), {{64, 64}, [](P& p, R r) { drawToolIcon(p, Pic::Allega, r); }}},
      {QStringLiteral("tb_stampa"), {{64, 64}, [](P& p, R r) { drawToolIcon(p, Pic::Stampa, r); }}},
      {QStringLiteral("tb_primo"), {{64, 64}, [](P& p, R r) { drawToolIcon(p, Pic::Primo, r); }}},
      {QStringLiteral("tb_indietro"), {{64, 64}, [](P& p, R r) { drawToolIcon(p, Pic::Indietro, r); }}},
      {QStringLiteral("tb_avanti"), {{64, 64}, [](P& p, R r) { drawToolIcon(p, Pic::Avanti, r); }}},
      {QStringLiteral("tb_ultimo"), {{64, 64}, [](P& p, R r) { drawToolIcon(p, Pic::Ultimo, r); }}},
      {QStringLiteral("tb_esporta"), {{64, 64}, [](P& p, R r) { drawToolIcon(p, Pic::Esporta, r); }}},
      {QStringLiteral("tb_scadenze"), {{64, 64}, [](P& p, R r) { drawToolIcon(p, Pic::Scadenze, r); }}},
      {QStringLiteral("tb_anteprima"), {{64, 64}, [](P& p, R r) { drawToolIcon(p, Pic::Anteprima, r); }}},
      {QStringLiteral("tb_pdf"), {{64, 64}, [](P& p, R r) { drawToolIcon(p, Pic::Pdf, r); }}},
      {QStringLiteral("tb_ricontatta"), {{64, 64}, [](P& p, R r) { drawToolIcon(p, Pic::Ricontatta, r); }}},
      {QStringLiteral("tb_ripeti"), {{64, 64}, [](P& p, R r) { drawToolIcon(p, Pic::Ripeti, r); }}},
      {QStringLiteral("tb_ingrandisci"), {{64, 64}, [](P& p, R r) { drawToolIcon(p, Pic::Ingrandisci, r); }}},
      {QStringLiteral("tb_riduci"), {{64, 64}, [](P& p, R r) { drawToolIcon(p, Pic::Riduci, r); }}},
      {QStringLiteral("tb_adatta_larghezza"),
       {{64, 64}, [](P& p, R r) { drawToolIcon(p, Pic::AdattaLarghezza, r); }}},
      {QStringLiteral("tb_pagina_intera"), {{64, 64}, [](P& p, R r) { drawToolIcon(p, Pic::PaginaIntera, r); }}},
      {QStringLiteral("tb_schermo_intero"), {{64, 64}, [](P& p, R r) { drawToolIcon(p, Pic::SchermoIntero, r); }}},
      {QStringLiteral("tb_chiudi"), {{64, 64}, [](P& p, R r) { drawToolIcon(p, Pic::Chiudi, r); }}},
      {QStringLiteral("ico_cancella"), {{40, 40}, [](P& p, R r) { drawToolIcon(p, Pic::Cancella, r); }}},
      {QStringLiteral("ico_importa"), {{40, 40}, [](P& p, R r) { drawToolIcon(p, Pic::Importa, r); }}},
      {QStringLiteral("ico_controlla"), {{40, 40}, [](P& p, R r) { drawToolIcon(p, Pic::Controlla, r); }}},
      {QStringLiteral("mano"), {{44, 44}, [](P& p, R r) { pointingHand(p, r); }}},
  };
  // The desktop icon at the sizes of the icon theme ("icona48"): the logo.
  for (const int px : {16, 22, 24, 32, 48, 64, 128, 256})
    arts[QStringLiteral("icona%1").arg(px)] = {{px, px}, [](P& p, R r) { drawLogo(p, r); }};
  return arts;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: fondaro-mkart <output folder> <name>...\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(folder);
  const auto arts = catalogue();
  for (int i = 2; i < argc; ++i) {
    const QString name = QString::fromLocal8Bit(argv[i]);
    const auto it = arts.find(name);
    if (it == arts.end()) {
      std::fprintf(stderr, "fondaro-mkart: no picture named %s\n", argv[i]);
      return 1;
    }
    // Each picture at its size and at double size, for high-density screens:
    // the same drawing, so both are sharp.
    for (const int scale : {1, 2}) {
      QImage img(it->second.size * scale, QImage::Format_ARGB32_Premultiplied);
      img.fill(Qt::transparent);
      {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(scale, scale);
        it->second.draw(p, QRectF(QPointF(0, 0), QSizeF(it->second.size)));
      }
      const QString file = name + (scale == 1 ? QString() : QStringLiteral("@2x")) + QStringLiteral(".png");
      if (!img.save(folder + QLatin1Char('/') + file)) {
        std::fprintf(stderr, "fondaro-mkart: cannot write %s\n", qPrintable(file));
        return 1;
      }
    }
  }
  return 0;
}
