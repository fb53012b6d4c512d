// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Anything that prints: a document that lays itself out for a paint device and
// draws its pages with QPainter. It needs QtGui only, so the same document goes
// to the printer, the preview and a PDF written without any display.
#include <QPageLayout>
#include <QString>

class QPaintDevice;
class QPainter;

namespace fondaro::report {

class PrintDocument {
 public:
  virtual ~PrintDocument() = default;
  // The print job's name and the PDF's title.
  virtual QString title() const = 0;
  // Page size, orientation and margins.
  virtual QPageLayout pageLayout() const = 0;
  // Lays the document out for `device` (its resolution and page); returns the
  // page count, at least 1.
  virtual int paginate(QPaintDevice& device) = 0;
  // Draws page `page` (from 0) with a painter begun on the device last given to
  // paginate(); the origin is the top left corner of the printable area.
  virtual void paintPage(QPainter& painter, int page) = 0;
};

}  // namespace fondaro::report
