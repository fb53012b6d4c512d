// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A banded report drawn with QPainter. A template (JSON, embedded as a Qt
// resource) gives the page, the bands and their objects; the caller finds
// objects by name and fills them; the report then lays itself out for a device
// and draws page by page (see PrintDocument), for the printer, the preview and
// PDF alike. Every measure is in report units of 1/96 inch.
//
// Bands:
// - page: drawn on every page at the top of the page area (a one-page form);
// - title: once, at the top of the first page;
// - data: once, after the title; taller than what is left of a page, it goes
//   on over the following pages, broken between the lines of its texts;
// - footer: once, right after the data (on a new page if it does not fit).
// A report of more than one page carries "Pagina N di M" in the bottom margin.
//
// Texts set by the caller are printed as given. Only the template's own texts
// are read for fields: "[DATE]" becomes the date of printing, dd/mm/yyyy.
#include <QColor>
#include <QDate>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QStringList>
#include <memory>
#include <optional>

#include "report/printdocument.h"

namespace fondaro::report {

// Lines that a caller keeps itself (a long list as its stored bytes), made
// one at a time as the page that shows them is drawn: a list of a hundred
// thousand lines is never held whole as text.
class LineSource {
 public:
  virtual ~LineSource() = default;
  virtual int count() const = 0;
  virtual QString line(int i) const = 0;
};

struct ReportObject {
  enum class Kind { Text, Line, Rect, Picture };
  Kind kind = Kind::Text;
  QString name;
  QRectF rect;  // within its band; a line runs from topLeft to bottomRight
  // Text: the lines it holds (one for a plain text, any number for a memo).
  QStringList lines;
  std::shared_ptr<const LineSource> source;  // when set, the lines in place of `lines`
  bool fromTemplate = true;  // false once the caller has set the text
  QString family = u"Arial"_qs;
  double points = 10;
  bool bold = false, italic = false;
  QColor color = Qt::black;
  QColor background;  // invalid: none
  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
  bool wordWrap = false;
  double lineHeight = 0;  // distance between memo lines; 0: the font's own
  double padding = 0;     // room between the text and its left and right edges
  // Frame of a text or rectangle; the pen of a line.
  QColor frameColor;  // invalid: no frame
  double frameWidth = 1;
  QImage picture;
};

struct ReportBand {
  enum class Kind { Page, Title, Data, Footer };
  Kind kind = Kind::Data;
  QString name;
  double height = 0;
  QList<ReportObject> objects;
};

class Report : public PrintDocument {
 public:
  // The template at `path` (a Qt resource such as ":/reports/riepilogo.json");
  // a template that cannot be read or parsed stops the program with the reason,
  // as it is part of the program itself.
  static Report fromResource(const QString& path);
  // A template from JSON text; nullopt and `error` set when it is not valid.
  static std::optional<Report> parse(const QByteArray& json, QString* error = nullptr);

  QString name() const { return name_; }
  void setName(const QString& name) { name_ = name; }

  // The object or band named `name`; nullptr when the template has none.
  ReportObject* object(const QString& name);
  const ReportObject* object(const QString& name) const;
  ReportBand* band(const QString& name);
  const QList<ReportBand>& bands() const { return bands_; }

  // Filling. Each returns false, changing nothing, when no such object exists.
  bool setText(const QString& object, const QString& text);  // line breaks split lines
  bool clearLines(const QString& object);
  bool addLine(const QString& object, const QString& line);
  bool addLines(const QString& object, const QStringList& lines);
  // The lines of `object` made by `source` as the pages are drawn.
  bool setLines(const QString& object, std::shared_ptr<const LineSource> source);
  bool setPicture(const QString& object, const QImage& picture);
  // The height of a text object or of a band.
  bool setHeight(const QString& name, double units);
  // Makes a text object as tall as its lines, moving what lies below it in its
  // band by the difference and stretching (or shrinking) what spans its lower
  // edge: a frame around it, the columns beside it that end where it ends, the
  // band itself. So a template lays out its sections one line tall and the
  // filler lets each grow to its contents. False when no such object exists.
  bool fitToLines(const QString& object);
  // `text` broken into the lines a text object's width holds in its font
  // (between words, inside a word longer than the width); one empty line for
  // an empty text.
  QStringList wrapped(const QString& object, const QString& text) const;
  void setOrientation(QPageLayout::Orientation orientation);
  // The date [DATE] prints; today's when never set.
  void setPrintDate(const QDate& date) { printDate_ = date; }

  // The text an object prints: the caller's as given, the template's with its
  // fields replaced.
  QString printedText(const ReportObject& object) const;

  // PrintDocument.
  QString title() const override { return name_; }
  QPageLayout pageLayout() const override { return layout_; }
  int paginate(QPaintDevice& device) override;
  void paintPage(QPainter& painter, int page) override;

  // Where the bands fell at the last paginate(), in page order.
  struct Slice {
    int band;       // index in bands()
    int page;       // from 0
    double from;    // the part of the band shown: [from, to) in band units
    double to;
    double top;     // where that part starts on the page, from the page area's top
  };
  const QList<Slice>& slices() const { return slices_; }
  int pageCount() const { return pages_; }

 private:
  double pageAreaHeight() const;
  int layOut();
  double breakBefore(const ReportBand& band, double from, double limit) const;
  void paintObject(QPainter& p, const ReportObject& o, double dx, double dy, double from,
                   double to) const;
  double lineHeightOf(const ReportObject& o) const;

  QString name_;
  QPageLayout layout_;
  QList<ReportBand> bands_;
  std::optional<QDate> printDate_;
  QList<Slice> slices_;
  int pages_ = 1;
  double scale_ = 1;  // device pixels per report unit
  int dpi_ = 96;
  QDate printingOn_;
};

// Reads a colour as templates write it: "#rrggbb" or an SVG colour name
// ("slategray").
QColor parseColor(const QString& text);

}  // namespace fondaro::report
