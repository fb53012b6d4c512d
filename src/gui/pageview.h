// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pages of a printout shown inside a window, one under the other, as
// wide as the view allows (up to a readable width): a scroll area over
// pictures drawn by the one renderer that serves the printer, the preview and
// PDF, so that what the window shows is what is printed. For a look before
// acting (the readable copy of an invoice before its import); printing and
// zooming belong to the preview window (preview.h).
#include <QImage>
#include <QScrollArea>
#include <vector>

namespace fondaro::report {
class PrintDocument;
}

class QLabel;
class QVBoxLayout;

namespace fondaro::gui {

// Every page of `doc` drawn `width` pixels wide, on white.
std::vector<QImage> drawPages(report::PrintDocument& doc, int width);

class PageView : public QScrollArea {
  Q_OBJECT

 public:
  PageView(QWidget* parent, const QString& name);

  // Draws and shows the pages of `doc` (kept only while drawing); null clears
  // the view.
  void setDocument(report::PrintDocument* doc);
  int pageCount() const { return int(pages_.size()); }
  const QImage& page(int index) const { return pages_[size_t(index)]; }
  // Scrolls to the top of page `index` (from 0).
  void showPage(int index);

  // The widest a page is drawn, in pixels at the screen's scale.
  static constexpr int kMaxPageWidth = 820;

 private:
  int pageWidth() const;

  QWidget* sheet_;
  QVBoxLayout* column_;
  std::vector<QImage> pages_;
  std::vector<QLabel*> labels_;
};

}  // namespace fondaro::gui
