// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/pageview.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "report/printdocument.h"

namespace fondaro::gui {

std::vector<QImage> drawPages(report::PrintDocument& doc, int width) {
  const QPageLayout layout = doc.pageLayout();
  const QSizeF paper = layout.fullRectPoints().size();
  if (width <= 0 || paper.width() <= 0) return {};
  const double dpi = width * 72.0 / paper.width();
  const int height = qRound(paper.height() * dpi / 72.0);
  QImage blank(width, height, QImage::Format_RGB32);
  const int dotsPerMeter = qRound(dpi / 0.0254);
  blank.setDotsPerMeterX(dotsPerMeter);
  blank.setDotsPerMeterY(dotsPerMeter);
  blank.fill(Qt::white);
  const int count = doc.paginate(blank);
  const QPointF origin = layout.paintRectPoints().topLeft() * (dpi / 72.0);
  std::vector<QImage> pages;
  for (int i = 0; i < count; ++i) {
    QImage page = blank.copy();
    QPainter p(&page);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.translate(origin);
    doc.paintPage(p, i);
    p.end();
    pages.push_back(std::move(page));
  }
  return pages;
}

PageView::PageView(QWidget* parent, const QString& name) : QScrollArea(parent), sheet_(new QWidget) {
  setObjectName(name);
  sheet_->setObjectName(name + u"Fogli"_qs);
  column_ = new QVBoxLayout(sheet_);
  column_->setContentsMargins(8, 8, 8, 8);
  column_->setSpacing(8);
  column_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  setWidget(sheet_);
  setWidgetResizable(true);
  setBackgroundRole(QPalette::Dark);
  setFocusPolicy(Qt::StrongFocus);
}

int PageView::pageWidth() const {
  const int room = viewport()->width() - 16 - verticalScrollBar()->sizeHint().width();
  return std::clamp(room, 200, kMaxPageWidth);
}

void PageView::setDocument(report::PrintDocument* doc) {
  for (QLabel* l : labels_) delete l;
  labels_.clear();
  pages_.clear();
  if (!doc) return;
  const qreal scale = devicePixelRatioF();
  pages_ = drawPages(*doc, qRound(pageWidth() * scale));
  for (size_t i = 0; i < pages_.size(); ++i) {
    auto* label = new QLabel(sheet_);
    label->setObjectName(objectName() + u"Pagina"_qs + QString::number(i + 1));
    QPixmap picture = QPixmap::fromImage(pages_[i]);
    picture.setDevicePixelRatio(scale);
    label->setPixmap(picture);
    label->setFrameShape(QFrame::Box);
    column_->addWidget(label);
    label->show();
    labels_.push_back(label);
  }
  verticalScrollBar()->setValue(0);
}

void PageView::showPage(int index) {
  if (index < 0 || index >= int(labels_.size())) return;
  sheet_->adjustSize();
  verticalScrollBar()->setValue(labels_[size_t(index)]->y() - column_->contentsMargins().top());
}

}  // namespace fondaro::gui
