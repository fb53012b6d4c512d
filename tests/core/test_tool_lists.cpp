// SPDX-License-Identifier: GPL-3.0-or-later
// fondaro-tool list, due and journal: the lines the windows show, the exit
// codes, and that nothing but the output is ever written.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "../common/records.h"
#include "core/archive.h"
#include "core/lists.h"
#include "test_support.h"

using namespace fondaro;
using fondaro::testing::runTool;
using fondaro::testing::ToolRun;
using fondaro::testing::readAll;

namespace {

TMovimento movement(const QString& causale, const QString& pagatore, const QString& data, const QString& totale,
                    const QString& dataSca = u"01/05/2024"_qs, const QString& saldato = u"No"_qs) {
  return testdata::record<TMovimento>({{mov::Causale, causale},
                                       {mov::Pagatore, pagatore},
                                       {mov::Data, data},
                                       {mov::Totale, totale},
                                       {mov::DataSca, dataSca},
                                       {mov::Preavviso, u"0"},
                                       {mov::Saldato, saldato}});
}

class ToolListsTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString archive = dir.filePath(u"2024.eur"_qs);
  void SetUp() override {
    auto a = MovementArchive::OpenOrCreate(archive);
    a.Append(movement(u"Luce"_qs, u"Mario Rossi"_qs, u"05/03/2024"_qs, u"+100,00"_qs));
    a.Append(movement(u"Gas"_qs, u"ROSSINI SRL"_qs, u"31/03/2024"_qs, u"-30,00"_qs, u"31/02/2024"_qs));
    a.Append(movement(u"Acqua"_qs, u"Verdi"_qs, u"01/04/2024"_qs, u"+50,00"_qs, u"20/05/2024"_qs));
    a.Append(movement(u"Caff\u00E8"_qs, u"Bar"_qs, u"02/03/2024"_qs, u"-0,10"_qs, u"01/05/2024"_qs, kSi));
  }
  QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot); }
  static QString line(const TMovimento& r) { return ListKind<TMovimento>::line(r); }
};

}  // namespace

TEST_F(ToolListsTest, ListPrintsTheSortedLinesOfTheMatchingRecords) {
  const QByteArray before = readAll(archive);
  ToolRun r = runTool({u"list"_qs, archive});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const QStringList lines = r.out.split(u'\n');
  ASSERT_EQ(lines.size(), 5);  // four and the last line break
  EXPECT_TRUE(lines[0].startsWith(u"Acqua "_qs));
  EXPECT_TRUE(lines[1].startsWith(u"Caff\u00E8 "_qs));
  EXPECT_EQ(lines[2], line(movement(u"Gas"_qs, u"ROSSINI SRL"_qs, u"31/03/2024"_qs, u"-30,00"_qs, u"31/02/2024"_qs)));

  r = runTool({u"list"_qs, archive, u"Pagatore=rossi"_qs, u"Note=  "_qs});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out.count(u'\n'), 2);
  r = runTool({u"list"_qs, archive, u"Pagatore=rossi "_qs});  // the blank is part of the key
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(r.out.isEmpty());
  r = runTool({u"list"_qs, archive, u"Pagatore=rossi"_qs, u"Causale=LUCE"_qs});
  EXPECT_EQ(r.out.count(u'\n'), 1);
  EXPECT_EQ(readAll(archive), before);
}

TEST_F(ToolListsTest, DueListsWhatIsDueAndNamesWhatItSkipped) {
  ToolRun r = runTool({u"due"_qs, archive, u"--today"_qs, u"10/05/2024"_qs});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, line(movement(u"Luce"_qs, u"Mario Rossi"_qs, u"05/03/2024"_qs, u"+100,00"_qs)) + u'\n');
  EXPECT_EQ(r.err, u"record 2: due date \"31/02/2024\" is not a date\n"_qs);
  r = runTool({u"due"_qs, archive, u"--today=20/05/2024"_qs});
  EXPECT_EQ(r.out.count(u'\n'), 2);
}

TEST_F(ToolListsTest, JournalPrintsTheLinesSeparatorAndSummary) {
  ToolRun r = runTool({u"journal"_qs, archive, u"--from"_qs, u"01/03/2024"_qs, u"--to"_qs, u"31/03/2024"_qs});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  const QStringList lines = r.out.split(u'\n');
  ASSERT_EQ(lines.size(), 9);
  EXPECT_TRUE(lines[0].startsWith(u"ENTRATA  Luce"_qs));
  EXPECT_TRUE(lines[1].startsWith(u"USCITA   Gas"_qs));
  EXPECT_TRUE(lines[2].startsWith(u"USCITA   Caff\u00E8"_qs));
  EXPECT_EQ(lines.mid(3),
            (QStringList{u"- - - - - - - - - - - - - - - -"_qs,
                         u"INTERVALLO SELEZIONATO :      Dal   01/03/2024   al   31/03/2024"_qs,
                         u"TOTALE ENTRATE :              100,00 \u20AC"_qs,
                         u"TOTALE USCITE :               -30,10 \u20AC"_qs,
                         u"BILANCIO ENTRATE E USCITE :   69,90 \u20AC"_qs, QString()}));

  r = runTool({u"journal"_qs, archive, u"--from"_qs, u"01/01/2024"_qs, u"--to"_qs, u"02/01/2024"_qs, u"--causale"_qs,
            u"x"_qs});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(r.out.startsWith(u"- - - -"_qs));
  EXPECT_TRUE(r.out.contains(u"TOTALE ENTRATE :              0,00 \u20AC\n"_qs));
}

TEST_F(ToolListsTest, JournalSkipsUnreadableRecords) {
  {
    auto a = MovementArchive::OpenExisting(archive, RecordFile::Access::ReadWrite);
    a.Append(movement(u"Rotto"_qs, u"X"_qs, u"10/03/2024"_qs, u"+1.000,00"_qs));
  }
  const ToolRun r = runTool({u"journal"_qs, archive, u"--from=01/03/2024"_qs, u"--to=31/03/2024"_qs});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, u"record 5: amount \"+1.000,00\" is not a number\n"_qs);
  EXPECT_TRUE(r.out.contains(u"BILANCIO ENTRATE E USCITE :   69,90 \u20AC"_qs));
}

QString pdfText(const QString& pdf) {
  QProcess p;
  p.start(u"pdftotext"_qs, {u"-layout"_qs, pdf, u"-"_qs});
  p.waitForFinished(30000);
  return QString::fromUtf8(p.readAllStandardOutput()).simplified();  // each run of blanks as one
}

TEST_F(ToolListsTest, PdfHoldsTheWindowsPrintout) {
  const QString out = dir.filePath(u"due.pdf"_qs);
  ToolRun r = runTool({u"due"_qs, archive, u"--today"_qs, u"10/05/2024"_qs, u"--pdf"_qs, out});
  EXPECT_EQ(r.exitCode, 1);  // the damaged record is still named
  EXPECT_TRUE(r.out.isEmpty());
  QString text = pdfText(out);
  EXPECT_TRUE(text.contains(u"Riepilogo pagamenti in scadenza o scaduti e non saldati"_qs)) << text.toStdString();
  EXPECT_TRUE(text.contains(u"Da: Mario Rossi"_qs));
  EXPECT_TRUE(text.contains(u"Stampa eseguita in data "_qs));

  const QString journal = dir.filePath(u"primanota.pdf"_qs);
  r = runTool({u"journal"_qs, archive, u"--from=01/03/2024"_qs, u"--to=31/03/2024"_qs, u"--pdf"_qs, journal});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  text = pdfText(journal);
  EXPECT_TRUE(text.contains(u"PRIMANOTA E BILANCIO - Causale : - - -"_qs)) << text.toStdString();
  EXPECT_TRUE(text.contains(u"BILANCIO ENTRATE E USCITE : 69,90 €"_qs));

  r = runTool({u"list"_qs, archive, u"--pdf"_qs, dir.filePath(u"lista.pdf"_qs)});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(pdfText(dir.filePath(u"lista.pdf"_qs)).contains(u"Riepilogo movimenti in archivio"_qs));
  EXPECT_EQ(files(), (QStringList{u"2024.eur"_qs, u"due.pdf"_qs, u"lista.pdf"_qs, u"primanota.pdf"_qs}));
}

TEST_F(ToolListsTest, UsageAndFileErrorsExitTwoAndCreateNothing) {
  const QString missing = dir.filePath(u"2023.eur"_qs);
  const QString out = dir.filePath(u"out.pdf"_qs);
  const QList<QStringList> cases = {
      {u"list"_qs, archive, u"Nome=rossi"_qs},
      {u"list"_qs, archive, u"rossi"_qs},
      {u"list"_qs, missing},
      {u"list"_qs},
      {u"due"_qs, missing},
      {u"due"_qs, archive, u"--today"_qs, u"31/02/2024"_qs},
      {u"due"_qs, archive, u"--today"_qs},
      {u"journal"_qs, archive, u"--from"_qs, u"01/03/2024"_qs},
      {u"journal"_qs, archive, u"--from"_qs, u"1/13/2024"_qs, u"--to"_qs, u"31/03/2024"_qs},
      {u"journal"_qs, archive, u"--from"_qs, u"02/03/2024"_qs, u"--to"_qs, u"01/03/2024"_qs},
      {u"journal"_qs, missing, u"--from"_qs, u"01/03/2024"_qs, u"--to"_qs, u"31/03/2024"_qs, u"--pdf"_qs, out},
      {u"journal"_qs, archive, u"--bogus"_qs},
      {u"list"_qs, archive, u"--pdf"_qs, dir.filePath(u"no-folder/out.pdf"_qs)},
  };
  const QByteArray before = readAll(archive);
  for (const QStringList& args : cases) {
    const ToolRun r = runTool(args);
    EXPECT_EQ(r.exitCode, 2) << args.join(u' ').toStdString();
    EXPECT_FALSE(r.err.isEmpty()) << args.join(u' ').toStdString();
    EXPECT_TRUE(r.out.isEmpty()) << args.join(u' ').toStdString();
  }
  EXPECT_EQ(files(), QStringList{u"2024.eur"_qs});
  EXPECT_EQ(readAll(archive), before);
}
