// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the export tests share: a written file's bytes, and the file as a
// spreadsheet program reads it (LibreOffice headless, converted to CSV for the
// texts, to flat ODS for each cell's type and value).
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QXmlStreamReader>

#include "gui/testing/testing.h"

namespace fondaro::testsupport {

inline QByteArray fileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The cells of a line of a CSV written with ";" and double quotes.
inline QStringList csvCells(const QString& line) {
  QStringList cells;
  QString cell;
  bool quoted = false;
  for (int i = 0; i < line.size(); ++i) {
    const QChar c = line[i];
    if (quoted && c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
      cell += u'"';
      ++i;
    } else if (c == u'"') {
      quoted = !quoted;
    } else if (!quoted && c == u';') {
      cells << cell;
      cell.clear();
    } else {
      cell += c;
    }
  }
  cells << cell;
  return cells;
}

// Edits a grid cell as a user does: select it, F2, replace the text; the edit
// stays open (Enter ends it).
inline void typeIntoCell(QTableView* grid, int row, int column, const QString& text) {
  grid->setFocus();
  grid->setCurrentIndex(grid->model()->index(row, column));
  gui::testing::pressKey(grid, Qt::Key_F2);
  QWidget* editor = QApplication::focusWidget();
  QVERIFY(editor && editor != grid);
  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
  gui::testing::typeText(editor, text);
}

// `sheet` converted by LibreOffice headless (its own profile) with the filter
// `to` into a file ending in `extension`, as bytes; empty (after a failed
// QVERIFY) when LibreOffice is missing or cannot read it.
inline QByteArray convertedByLibreOffice(const QString& sheet, const QString& to, const QString& extension) {
  const QString soffice = QStandardPaths::findExecutable(u"soffice"_qs);
  [&] { QVERIFY2(!soffice.isEmpty(), "soffice is installed by scripts/install-deps.sh"); }();
  if (soffice.isEmpty()) return {};
  QTemporaryDir out, profile;
  QProcess lo;
  lo.start(soffice, {u"-env:UserInstallation="_qs + QUrl::fromLocalFile(profile.path()).toString(),
                     u"--headless"_qs, u"--convert-to"_qs, to, u"--outdir"_qs, out.path(), sheet});
  lo.waitForFinished(120000);
  const QByteArray bytes = fileBytes(out.filePath(QFileInfo(sheet).completeBaseName() + u'.' + extension));
  [&] { QVERIFY2(!bytes.isEmpty(), lo.readAllStandardError().constData()); }();
  return bytes;
}

// The rows of `sheet` as LibreOffice reads them, each split into its cells;
// empty (after a failed QVERIFY) when LibreOffice is missing or cannot read it.
inline QList<QStringList> spreadsheetRows(const QString& sheet) {
  QList<QStringList> rows;
  const QByteArray text = convertedByLibreOffice(sheet, u"csv:Text - txt - csv (StarCalc):59,34,76"_qs, u"csv"_qs);
  if (text.isEmpty()) return rows;
  QStringList lines = QString::fromUtf8(text).split(u'\n');
  for (QString& l : lines) l.remove(u'\r');
  while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) lines.removeLast();
  for (const QString& l : lines) rows << csvCells(l);
  return rows;
}

// A cell as LibreOffice holds it once it has read the file: its type
// ("string", "float", "date"; empty for an empty cell), its value ("120.5",
// "2024-02-02"; empty for a string) and the text it shows with its format.
struct SheetCell {
  QString type;
  QString value;
  QString shown;
};

// The shown text of the paragraph the reader stands at, up to its end.
inline QString paragraphText(QXmlStreamReader& xml) {
  QString text;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isEndElement() && xml.name() == u"p") break;
    if (xml.isCharacters()) text += xml.text();
    if (!xml.isStartElement()) continue;
    if (xml.name() == u"tab") text += u'\t';
    if (xml.name() == u"s") {  // a run of blanks
      const auto count = xml.attributes().value(u"text:c"_qs);
      text += QString(count.isEmpty() ? 1 : count.toInt(), u' ');
    }
  }
  return text;
}

// The rows of `sheet` as LibreOffice holds them, read from its flat ODS
// (.fods) conversion; a row's trailing empty cells are left out.
inline QList<QList<SheetCell>> spreadsheetCells(const QString& sheet) {
  QList<QList<SheetCell>> rows;
  QXmlStreamReader xml(convertedByLibreOffice(sheet, u"fods"_qs, u"fods"_qs));
  const auto trimRow = [&] {
    while (!rows.isEmpty() && !rows.last().isEmpty() && rows.last().last().type.isEmpty()) rows.last().removeLast();
  };
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const QXmlStreamAttributes a = xml.attributes();
    if (xml.name() == u"table-row") {
      trimRow();
      rows.append(QList<SheetCell>());
    } else if ((xml.name() == u"table-cell" || xml.name() == u"covered-table-cell") && !rows.isEmpty()) {
      const auto repeated = a.value(u"table:number-columns-repeated"_qs);
      const auto date = a.value(u"office:date-value"_qs);
      const SheetCell c{a.value(u"office:value-type"_qs).toString(),
                        (date.isEmpty() ? a.value(u"office:value"_qs) : date).toString(), {}};
      // A sheet's empty tail repeats one cell a thousand times or more.
      for (int i = 0; i < qMin(repeated.isEmpty() ? 1 : repeated.toInt(), 64); ++i) rows.last().append(c);
    } else if (xml.name() == u"p" && !rows.isEmpty() && !rows.last().isEmpty()) {
      QString& shown = rows.last().last().shown;
      if (!shown.isEmpty()) shown += u'\n';
      shown += paragraphText(xml);
    }
  }
  trimRow();
  while (!rows.isEmpty() && rows.last().isEmpty()) rows.removeLast();
  return rows;
}

}  // namespace fondaro::testsupport
