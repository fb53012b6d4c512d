// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/report.h"

#include <QFile>
#include <QFontMetricsF>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "report/fonts.h"

namespace fondaro::report {

namespace {

constexpr double kPointsToUnits = 96.0 / 72.0;
// Room for the page number in the bottom margin.
constexpr double kPageNumberGap = 4;
constexpr double kPageNumberHeight = 12;
// Half a hair: positions closer than this are the same place.
constexpr double kEpsilon = 1e-6;

struct Parser {
  QString error;

  bool fail(const QString& why) {
    if (error.isEmpty()) error = why;
    return false;
  }

  bool number(const QJsonObject& o, const char* key, double& out, bool required = true) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined() && !required) return true;
    if (!v.isDouble()) return fail(u"\"%1\": numero mancante"_qs.arg(QLatin1String(key)));
    out = v.toDouble();
    return true;
  }

  bool color(const QJsonObject& o, const char* key, QColor& out) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined()) return true;
    out = parseColor(v.toString());
    return out.isValid() || fail(u"colore non valido: %1"_qs.arg(v.toString()));
  }

  bool alignment(const QString& text, Qt::Alignment& out) {
    Qt::Alignment h = Qt::AlignLeft, v = Qt::AlignTop;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
      if (word == u"left") h = Qt::AlignLeft;
      else if (word == u"center") h = Qt::AlignHCenter;
      else if (word == u"right") h = Qt::AlignRight;
      else if (word == u"top") v = Qt::AlignTop;
      else if (word == u"vcenter") v = Qt::AlignVCenter;
      else if (word == u"bottom") v = Qt::AlignBottom;
      else return fail(u"allineamento non valido: %1"_qs.arg(word));
    }
    out = h | v;
    return true;
  }

  bool object(const QJsonObject& j, ReportObject& o) {
    o.name = j.value(u"name").toString();
    const QString kind = j.value(u"kind").toString();
    if (kind == u"line") {
      o.kind = ReportObject::Kind::Line;
      double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
      if (!number(j, "x1", x1) || !number(j, "y1", y1) || !number(j, "x2", x2) || !number(j, "y2", y2))
        return false;
      o.rect = QRectF(QPointF(x1, y1), QPointF(x2, y2));
      o.frameColor = Qt::black;
    } else {
      if (kind == u"text") o.kind = ReportObject::Kind::Text;
      else if (kind == u"rect") o.kind = ReportObject::Kind::Rect;
      else if (kind == u"picture") o.kind = ReportObject::Kind::Picture;
      else return fail(u"tipo di oggetto sconosciuto: \"%1\""_qs.arg(kind));
      double x = 0, y = 0, w = 0, h = 0;
      if (!number(j, "x", x) || !number(j, "y", y) || !number(j, "width", w) || !number(j, "height", h))
        return false;
      o.rect = QRectF(x, y, w, h);
    }
    if (j.contains(u"text")) o.lines = j.value(u"text").toString().split(u'\n');
    const QJsonObject font = j.value(u"font").toObject();
    if (font.contains(u"family")) o.family = font.value(u"family").toString();
    if (!number(font, "size", o.points, false)) return false;
    o.bold = font.value(u"bold").toBool();
    o.italic = font.value(u"italic").toBool();
    if (!color(j, "color", o.color) || !color(j, "background", o.background)) return false;
    if (j.contains(u"align") && !alignment(j.value(u"align").toString(), o.alignment)) return false;
    o.wordWrap = j.value(u"wordWrap").toBool();
    if (!number(j, "lineHeight", o.lineHeight, false) || !number(j, "padding", o.padding, false))
      return false;
    const QJsonObject frame = j.value(u"frame").toObject();
    if (!color(frame, "color", o.frameColor) || !number(frame, "width", o.frameWidth, false))
      return false;
    // A picture from the program's artwork: a process without the window kit
    // (the command-line tool) has none, and prints the place empty.
    if (j.contains(u"picture")) o.picture.load(j.value(u"picture").toString());
    return true;
  }
};

QPageSize::PageSizeId pageSizeId(const QString& name) {
  if (name == u"A4") return QPageSize::A4;
  if (name == u"A3") return QPageSize::A3;
  if (name == u"A5") return QPageSize::A5;
  if (name == u"Letter") return QPageSize::Letter;
  return QPageSize::Custom;
}

double unitsFromPoints(double points) { return points * kPointsToUnits; }

}  // namespace

QColor parseColor(const QString& text) {
  QColor c = QColor::fromString(text.trimmed());
  return c;
}

Report Report::fromResource(const QString& path) {
  QFile f(path);
  QString error;
  if (f.open(QIODevice::ReadOnly)) {
    if (auto r = parse(f.readAll(), &error)) return std::move(*r);
  } else {
    error = f.errorString();
  }
  // A template ships inside the program: a broken one is a build fault.
  std::fprintf(stderr, "fondaro: modello di stampa %s non valido: %s\n", qPrintable(path),
               qPrintable(error));
  std::abort();
}

std::optional<Report> Report::parse(const QByteArray& json, QString* error) {
  Parser parser;
  const auto failed = [&]() -> std::optional<Report> {
    if (error) *error = parser.error;
    return std::nullopt;
  };
  QJsonParseError jsonError;
  const QJsonDocument doc = QJsonDocument::fromJson(json, &jsonError);
  if (!doc.isObject()) {
    parser.fail(jsonError.errorString());
    return failed();
  }
  const QJsonObject root = doc.object();
  Report r;
  r.name_ = root.value(u"name").toString();
  const QJsonObject page = root.value(u"page").toObject();
  const QPageSize::PageSizeId size = pageSizeId(page.value(u"size").toString(u"A4"_qs));
  if (size == QPageSize::Custom) {
    parser.fail(u"formato di pagina sconosciuto"_qs);
    return failed();
  }
  const QString orientation = page.value(u"orientation").toString(u"portrait"_qs);
  if (orientation != u"portrait" && orientation != u"landscape") {
    parser.fail(u"orientamento sconosciuto"_qs);
    return failed();
  }
  QMarginsF margins(10, 10, 10, 10);
  const QJsonArray m = page.value(u"margins").toArray();
  if (m.size() == 4) margins = QMarginsF(m[0].toDouble(), m[1].toDouble(), m[2].toDouble(), m[3].toDouble());
  r.layout_ = QPageLayout(QPageSize(size),
                          orientation == u"landscape" ? QPageLayout::Landscape : QPageLayout::Portrait,
                          margins, QPageLayout::Millimeter);

  QStringList names;
  const auto uniqueName = [&](const QString& name) {
    if (name.isEmpty()) return true;
    if (names.contains(name)) return parser.fail(u"nome ripetuto: %1"_qs.arg(name));
    names << name;
    return true;
  };
  for (const QJsonValue& bv : root.value(u"bands").toArray()) {
    const QJsonObject bj = bv.toObject();
    ReportBand band;
    band.name = bj.value(u"name").toString();
    const QString kind = bj.value(u"kind").toString();
    if (kind == u"page") band.kind = ReportBand::Kind::Page;
    else if (kind == u"title") band.kind = ReportBand::Kind::Title;
    else if (kind == u"data") band.kind = ReportBand::Kind::Data;
    else if (kind == u"footer") band.kind = ReportBand::Kind::Footer;
    else {
      parser.fail(u"tipo di banda sconosciuto: \"%1\""_qs.arg(kind));
      return failed();
    }
    if (!parser.number(bj, "height", band.height, band.kind != ReportBand::Kind::Page) ||
        !uniqueName(band.name))
      return failed();
    for (const QJsonValue& ov : bj.value(u"objects").toArray()) {
      ReportObject o;
      if (!parser.object(ov.toObject(), o) || !uniqueName(o.name)) return failed();
      band.objects.append(std::move(o));
    }
    r.bands_.append(std::move(band));
  }
  return r;
}

ReportObject* Report::object(const QString& name) {
  return const_cast<ReportObject*>(std::as_const(*this).object(name));
}

const ReportObject* Report::object(const QString& name) const {
  for (const ReportBand& b : bands_)
    for (const ReportObject& o : b.objects)
      if (o.name == name) return &o;
  return nullptr;
}

ReportBand* Report::band(const QString& name) {
  for (ReportBand& b : bands_)
    if (b.name == name) return &b;
  return nullptr;
}

bool Report::setText(const QString& name, const QString& text) {
  ReportObject* o = object(name);
  if (!o) return false;
  QString t = text;
  t.replace(u"\r\n"_qs, u"\n"_qs);
  t.replace(u'\r', u'\n');
  o->lines = t.split(u'\n');
  o->source.reset();
  o->fromTemplate = false;
  return true;
}

bool Report::clearLines(const QString& name) {
  ReportObject* o = object(name);
  if (!o) return false;
  o->lines.clear();
  o->source.reset();
  o->fromTemplate = false;
  return true;
}

bool Report::addLine(const QString& name, const QString& line) { return addLines(name, {line}); }

bool Report::addLines(const QString& name, const QStringList& lines) {
  ReportObject* o = object(name);
  if (!o) return false;
  if (o->fromTemplate) o->lines.clear();
  if (o->source) {
    for (int i = 0; i < o->source->count(); ++i) o->lines.append(o->source->line(i));
    o->source.reset();
  }
  o->lines += lines;
  o->fromTemplate = false;
  return true;
}

bool Report::setLines(const QString& name, std::shared_ptr<const LineSource> source) {
  ReportObject* o = object(name);
  if (!o) return false;
  o->lines.clear();
  o->source = std::move(source);
  o->fromTemplate = false;
  return true;
}

bool Report::setPicture(const QString& name, const QImage& picture) {
  ReportObject* o = object(name);
  if (!o) return false;
  o->picture = picture;
  return true;
}

bool Report::setHeight(const QString& name, double units) {
  if (ReportBand* b = band(name)) {
    b->height = std::max(0.0, units);
    return true;
  }
  ReportObject* o = object(name);
  if (!o) return false;
  o->rect.setHeight(std::max(0.0, units));
  return true;
}

bool Report::fitToLines(const QString& name) {
  for (ReportBand& b : bands_) {
    for (ReportObject& o : b.objects) {
      if (o.name != name) continue;
      const double edge = o.rect.bottom();
      const double delta = lineHeightOf(o) * o.lines.size() - o.rect.height();
      for (ReportObject& other : b.objects) {
        const double top = std::min(other.rect.top(), other.rect.bottom());
        const double bottom = std::max(other.rect.top(), other.rect.bottom());
        if (top >= edge - kEpsilon) {
          other.rect.translate(0, delta);
        } else if (bottom >= edge - kEpsilon) {
          if (other.rect.bottom() >= other.rect.top()) other.rect.setBottom(other.rect.bottom() + delta);
          else other.rect.setTop(other.rect.top() + delta);
        }
      }
      b.height = std::max(0.0, b.height + delta);
      return true;
    }
  }
  return false;
}

QStringList Report::wrapped(const QString& name, const QString& text) const {
  const ReportObject* o = object(name);
  if (!o || text.isEmpty()) return {text};
  installFonts();
  const QFont font = printFont(o->family, o->points, o->bold, o->italic);
  // Report units to the font's pixels, less a little for the hinting of the
  // device the text is drawn on.
  const double width = (o->rect.width() - 2 * o->padding) * QFontMetricsF(font).fontDpi() / 96.0 * 0.97;
  QStringList out;
  for (const QString& paragraph : text.split(u'\n')) {
    if (paragraph.isEmpty()) {
      out << QString();
      continue;
    }
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(width);
      out << paragraph.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
  }
  return out;
}

void Report::setOrientation(QPageLayout::Orientation orientation) { layout_.setOrientation(orientation); }

namespace {

int lineCount(const ReportObject& o) { return o.source ? o.source->count() : int(o.lines.size()); }

}  // namespace

QString Report::printedText(const ReportObject& o) const {
  QStringList own;
  if (o.source)
    for (int i = 0; i < o.source->count(); ++i) own.append(o.source->line(i));
  QString text = (o.source ? own : o.lines).join(u'\n');
  if (!o.fromTemplate) return text;
  const QDate day = printDate_.value_or(printingOn_.isValid() ? printingOn_ : QDate::currentDate());
  text.replace(u"[DATE]"_qs, day.toString(u"dd/MM/yyyy"_qs));
  return text;
}

double Report::pageAreaHeight() const {
  return layout_.paintRect(QPageLayout::Point).height() * kPointsToUnits;
}

double Report::lineHeightOf(const ReportObject& o) const {
  if (o.lineHeight > 0) return o.lineHeight;
  QFont f = printFont(o.family, o.points, o.bold, o.italic);
  return unitsFromPoints(QFontMetricsF(f).lineSpacing() * 72.0 / QFontMetricsF(f).fontDpi());
}

// The lowest place at or above `limit` where the band can be cut: between two
// lines of a memo, never through a line, and above a single text or shape that
// would otherwise be cut (unless it is taller than the whole space).
double Report::breakBefore(const ReportBand& band, double from, double limit) const {
  double cut = limit;
  for (int pass = 0; pass < 4; ++pass) {
    const double before = cut;
    for (const ReportObject& o : band.objects) {
      const double top = std::min(o.rect.top(), o.rect.bottom());
      const double bottom = std::max(o.rect.top(), o.rect.bottom());
      if (cut <= top + kEpsilon || cut >= bottom - kEpsilon) continue;
      double candidate = top;
      if (o.kind == ReportObject::Kind::Text && lineCount(o) > 1 && !o.wordWrap) {
        const double lh = lineHeightOf(o);
        candidate = top + std::floor((cut - top) / lh + kEpsilon) * lh;
      }
      if (candidate > from + kEpsilon) cut = std::min(cut, candidate);
    }
    if (std::abs(before - cut) < kEpsilon) break;
  }
  return cut;
}

int Report::layOut() {
  slices_.clear();
  const double area = pageAreaHeight();
  int page = 0;
  double y = 0;  // where the next band starts on the current page
  for (int i = 0; i < bands_.size(); ++i) {
    const ReportBand& b = bands_[i];
    if (b.kind == ReportBand::Kind::Page) continue;
    double from = 0;
    // A band that does not fit whole starts a new page first, unless the page
    // is empty or the band is the data band, which splits.
    if (b.kind != ReportBand::Kind::Data && y > 0 && y + b.height > area + kEpsilon) {
      ++page;
      y = 0;
    }
    for (;;) {
      const double left = area - y;
      if (b.height - from <= left + kEpsilon) {
        slices_.append({i, page, from, b.height, y});
        y += b.height - from;
        break;
      }
      double to = breakBefore(b, from, from + left);
      if (to <= from + kEpsilon) {
        if (y > 0) {  // nothing of it fits here: start it on a new page
          ++page;
          y = 0;
          continue;
        }
        to = from + left;  // taller than a page: cut it
      }
      slices_.append({i, page, from, to, y});
      from = to;
      ++page;
      y = 0;
    }
  }
  return page + 1;
}

int Report::paginate(QPaintDevice& device) {
  installFonts();
  dpi_ = device.logicalDpiY();
  scale_ = dpi_ / 96.0;
  printingOn_ = printDate_.value_or(QDate::currentDate());
  pages_ = layOut();
  return pages_;
}

void Report::paintObject(QPainter& p, const ReportObject& o, double dx, double dy, double from,
                         double to) const {
  const auto px = [this](const QRectF& r) {
    return QRectF(r.x() * scale_, r.y() * scale_, r.width() * scale_, r.height() * scale_);
  };
  const QRectF r = px(o.rect.translated(dx, dy));
  const auto framePen = [&]() {
    QPen pen(o.frameColor);
    pen.setWidthF(o.frameWidth * scale_);
    return pen;
  };
  switch (o.kind) {
    case ReportObject::Kind::Line:
      p.setPen(framePen());
      p.drawLine(r.topLeft(), r.bottomRight());
      return;
    case ReportObject::Kind::Rect:
      if (o.background.isValid()) p.fillRect(r, o.background);
      if (o.frameColor.isValid()) {
        p.setPen(framePen());
        p.setBrush(Qt::NoBrush);
        p.drawRect(r);
      }
      return;
    case ReportObject::Kind::Picture:
      if (!o.picture.isNull()) {
        QSizeF s = QSizeF(o.picture.size()).scaled(r.size(), Qt::KeepAspectRatio);
        QRectF target(QPointF(0, 0), s);
        target.moveCenter(r.center());
        p.drawImage(target, o.picture);
      }
      return;
    case ReportObject::Kind::Text:
      break;
  }
  if (o.background.isValid()) p.fillRect(r, o.background);
  if (o.frameColor.isValid()) {
    p.setPen(framePen());
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
  }
  if (lineCount(o) == 0) return;
  QFont font = printFont(o.family, o.points, o.bold, o.italic);
  p.setFont(font);
  p.setPen(o.color);
  const Qt::Alignment hAlign = o.alignment & Qt::AlignHorizontal_Mask;
  const QRectF area = r.adjusted(o.padding * scale_, 0, -o.padding * scale_, 0);
  const Qt::Alignment vAlign = o.alignment & Qt::AlignVertical_Mask;
  p.save();
  p.setClipRect(r, Qt::IntersectClip);
  if (o.wordWrap) {
    p.drawText(area, int(o.alignment) | Qt::TextWordWrap, printedText(o));
    p.restore();
    return;
  }
  const QStringList lines = o.fromTemplate ? printedText(o).split(u'\n') : o.lines;
  const int count = o.source ? o.source->count() : int(lines.size());
  const double lh = lineHeightOf(o);
  const double block = lh * count;
  double top = o.rect.top();
  if (vAlign == Qt::AlignVCenter) top += (o.rect.height() - block) / 2;
  else if (vAlign == Qt::AlignBottom) top += o.rect.height() - block;
  // Only the lines inside [from, to) of the band are drawn: a long memo costs
  // each page its own lines, not all of them.
  const int first = std::max(0, int(std::floor((from - top) / lh + kEpsilon)));
  const int last = std::min(count, int(std::ceil((to - top) / lh - kEpsilon)));
  const QFontMetricsF fm(font, p.device());
  const double glyphs = fm.ascent() + fm.descent();
  for (int i = first; i < last; ++i) {
    const double lineTop = (top + i * lh + dy) * scale_;
    const QString line = o.source ? o.source->line(i) : lines[i];
    if (line.isEmpty()) continue;
    if (hAlign == Qt::AlignLeft) {
      p.drawText(QPointF(area.left(), lineTop + (lh * scale_ - glyphs) / 2 + fm.ascent()), line);
    } else {
      p.drawText(QRectF(area.left(), lineTop, area.width(), lh * scale_),
                 int(hAlign | Qt::AlignVCenter | Qt::TextDontClip), line);
    }
  }
  p.restore();
}

void Report::paintPage(QPainter& p, int page) {
  p.setRenderHint(QPainter::Antialiasing, true);
  for (const ReportBand& b : bands_)
    if (b.kind == ReportBand::Kind::Page)
      for (const ReportObject& o : b.objects) paintObject(p, o, 0, 0, -1e9, 1e9);
  const double width = layout_.paintRect(QPageLayout::Point).width() * kPointsToUnits;
  for (const Slice& s : slices_) {
    if (s.page != page) continue;
    const ReportBand& b = bands_[s.band];
    const double dy = s.top - s.from;
    p.save();
    p.setClipRect(QRectF(0, s.top * scale_, width * scale_, (s.to - s.from) * scale_));
    for (const ReportObject& o : b.objects) {
      const double top = std::min(o.rect.top(), o.rect.bottom());
      const double bottom = std::max(o.rect.top(), o.rect.bottom());
      if (bottom < s.from - kEpsilon || top > s.to + kEpsilon) continue;
      paintObject(p, o, 0, dy, s.from, s.to);
    }
    p.restore();
  }
  if (pages_ > 1) {
    const double top = pageAreaHeight() + kPageNumberGap;
    p.setFont(printFont(u"Arial"_qs, 7));
    p.setPen(QColor(0x55, 0x55, 0x55));
    p.drawText(QRectF(0, top * scale_, width * scale_, kPageNumberHeight * scale_),
               int(Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip),
               u"Pagina %1 di %2"_qs.arg(page + 1).arg(pages_));
  }
}

}  // namespace fondaro::report
