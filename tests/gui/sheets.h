#pragma once
// What the export tests share: a written file's bytes, and the file as a
// spreadsheet program reads it (LibreOffice headless, converted to CSV).
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

// The rows of `sheet` as LibreOffice reads them, each split into its cells;
// empty (after a failed QVERIFY) when LibreOffice is missing or cannot read it.
inline QList<QStringList> spreadsheetRows(const QString& sheet) {
  QList<QStringList> rows;
  const QString soffice = QStandardPaths::findExecutable(u"soffice"_qs);
  [&] { QVERIFY2(!soffice.isEmpty(), "soffice is installed by scripts/install-deps.sh"); }();
  if (soffice.isEmpty()) return rows;
  QTemporaryDir out, profile;
  QProcess lo;
  lo.start(soffice, {u"-env:UserInstallation="_qs + QUrl::fromLocalFile(profile.path()).toString(),
                     u"--headless"_qs, u"--convert-to"_qs, u"csv:Text - txt - csv (StarCalc):59,34,76"_qs,
                     u"--outdir"_qs, out.path(), sheet});
  lo.waitForFinished(120000);
  const QString csv = QFileInfo(sheet).completeBaseName() + u".csv"_qs;
  const QByteArray text = fileBytes(out.filePath(csv));
  [&] { QVERIFY2(!text.isEmpty(), lo.readAllStandardError().constData()); }();
  QStringList lines = QString::fromUtf8(text).split(u'\n');
  for (QString& l : lines) l.remove(u'\r');
  while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) lines.removeLast();
  for (const QString& l : lines) rows << csvCells(l);
  return rows;
}

}  // namespace fondaro::testsupport
