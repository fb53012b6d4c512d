// SPDX-License-Identifier: GPL-3.0-or-later
// fondaro-tool on an address book: check-codes, recall and list.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "../common/records.h"
#include "core/archive.h"
#include "test_support.h"

using namespace fondaro;
using fondaro::testing::runTool;
using fondaro::testing::ToolRun;

namespace {

ToolRun checkCodes(const QStringList& args) { return runTool(QStringList{QStringLiteral("check-codes")} + args); }

TCliente card(const QString& name, const QString& codFisc, const QString& piva, const QString& carta,
              const QString& iban) {
  return testdata::record<TCliente>(
      {{cli::Cliente, name}, {cli::CodFisc, codFisc}, {cli::PartitaIva, piva}, {cli::Carta, carta}, {cli::Iban, iban}});
}

class CheckCodes : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString book = dir.filePath(QStringLiteral("Clienti.pro"));
  void store(const std::vector<TCliente>& cards) {
    ClientArchive a = ClientArchive::OpenOrCreate(book);
    for (const TCliente& c : cards) a.Append(c);
    a.Close();
  }
};

}  // namespace

TEST_F(CheckCodes, EveryCodePassingOrEmptyGivesNoLine) {
  store({card(QStringLiteral("Rossi Mario"), QStringLiteral("RSSMRA80A01H501U"), QStringLiteral("12345671205"),
              QStringLiteral("4111111111111111"), QStringLiteral("IT60X0542811101000000123456")),
         card(QStringLiteral("Vuota"), {}, {}, {}, {}),
         // A tax code of digits only is a company's VAT number.
         card(QStringLiteral("Ditta"), QStringLiteral("12345671205"), {}, {}, {})});
  const ToolRun r = checkCodes({book});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, QString());
}

TEST_F(CheckCodes, EachFailingCodeIsOneLineWithTheNoticeOnOneLine) {
  store({card(QStringLiteral("Rossi Mario"), QStringLiteral("RSSMRA80A01H501U"), {}, {}, {}),
         card(QStringLiteral("Bianchi Niccol\u00F2"), QStringLiteral("RSSMRA80A01H501X"), QStringLiteral("123"),
              QStringLiteral("4111111111111112"), QStringLiteral("IT60X0542811101000000124356"))});
  const ToolRun r = checkCodes({book});
  EXPECT_EQ(r.exitCode, 1);
  const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 4);
  EXPECT_EQ(lines[0], QStringLiteral("2\tCodFisc\tBianchi Niccol\u00F2\tAttenzione: il codice fiscale digitato \u00E8 ERRATO."));
  EXPECT_EQ(lines[1], QStringLiteral("2\tPartitaIva\tBianchi Niccol\u00F2\tAttenzione: la partita IVA deve essere composta da 11 caratteri numerici."));
  EXPECT_EQ(lines[2], QStringLiteral("2\tCarta\tBianchi Niccol\u00F2\tAttenzione: il numero digitato risulta ERRATO!  Non \u00E8 quindi "
                                     "possibile fornire informazioni relative al tipo di carta di credito."));
  EXPECT_EQ(lines[3], QStringLiteral("2\tIban\tBianchi Niccol\u00F2\tAttenzione: l'IBAN digitato \u00E8 ERRATO!"));
  EXPECT_FALSE(r.out.contains(u'\r'));
}

TEST_F(CheckCodes, AMissingFileFailsAndCreatesNothing) {
  const ToolRun r = checkCodes({book});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_FALSE(r.err.isEmpty());
  EXPECT_FALSE(QFile::exists(book));
}

namespace {

TCliente person(const QString& name, const QString& flag, const QString& questioni, const QString& note = {}) {
  return testdata::record<TCliente>({{cli::Cliente, name},
                                     {cli::Recapito, u"333 1234567"},
                                     {cli::Occupazione, u"Artigiano"},
                                     {cli::Prodotti, u"Mobili"},
                                     {cli::Ricontatta, flag},
                                     {cli::Questioni, questioni},
                                     {cli::Note, note}});
}

}  // namespace

// The call-back list: only "Sì" (trimmed) is listed, sorted by the list
// order, the questions last and trailing blanks kept; the list line of the
// search ends with the notes instead.
TEST_F(CheckCodes, RecallListsTheTickedCardsSortedWithTheirQuestions) {
  store({person(QStringLiteral("verdi Anna"), QStringLiteral("S\u00EC"), QStringLiteral("Preventivo  ")),
         person(QStringLiteral("Bianchi Luca"), QStringLiteral(" S\u00EC "), QString(), QStringLiteral("nota")),
         person(QStringLiteral("Rossi Mario"), QStringLiteral("s\u00EC"), QStringLiteral("Sollecito")),
         person(QStringLiteral("Neri Ugo"), QStringLiteral("No"), QStringLiteral("Fattura"))});
  const QString columns = u"  Tel. "_qs + u"333 1234567"_qs.leftJustified(15) + u"  "_qs +
                          u"Artigiano"_qs.leftJustified(25) + u"  Prod. "_qs + u"Mobili"_qs.leftJustified(30);
  const auto name = [](const char* n) { return QString::fromUtf8(n).leftJustified(26); };
  const ToolRun r = runTool({QStringLiteral("recall"), book});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, name("Bianchi Luca") + columns + u"  \n"_qs + name("verdi Anna") + columns + u"  Preventivo\n"_qs);
  EXPECT_EQ((name("Bianchi Luca") + columns + u"  "_qs).size(), 115);

  const ToolRun l = runTool({QStringLiteral("list"), book, QStringLiteral("Cliente=I")});
  EXPECT_EQ(l.exitCode, 0);
  EXPECT_EQ(l.out, name("Bianchi Luca") + columns + u"  nota\n"_qs + name("Neri Ugo") + columns + u"  \n"_qs +
                       name("Rossi Mario") + columns + u"  \n"_qs + name("verdi Anna") + columns + u"  \n"_qs);
}

TEST_F(CheckCodes, RecallOfAMissingFileFailsAndCreatesNothing) {
  const ToolRun r = runTool({QStringLiteral("recall"), book});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_FALSE(QFile::exists(book));
}
