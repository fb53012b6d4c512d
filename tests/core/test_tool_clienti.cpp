// fondaro-tool on an address book: check-codes, recall and list.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "core/archive.h"

using namespace fondaro;

namespace {

struct ToolResult {
  int exitCode = -1;
  QString out;
  QString err;
};

ToolResult checkCodes(const QStringList& args) {
  QProcess p;
  p.start(QStringLiteral(FONDARO_TOOL_PATH), QStringList{QStringLiteral("check-codes")} + args);
  const bool finished = p.waitForFinished(30000);
  return {finished && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
          QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

TCliente card(const QString& name, const QString& codFisc, const QString& piva, const QString& carta,
              const QString& iban) {
  TCliente r;
  r.Cliente.set(name);
  r.CodFisc.set(codFisc);
  r.PartitaIva.set(piva);
  r.Carta.set(carta);
  r.Iban.set(iban);
  return r;
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
  const ToolResult r = checkCodes({book});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, QString());
}

TEST_F(CheckCodes, EachFailingCodeIsOneLineWithTheNoticeOnOneLine) {
  store({card(QStringLiteral("Rossi Mario"), QStringLiteral("RSSMRA80A01H501U"), {}, {}, {}),
         card(QStringLiteral("Bianchi Niccol\u00F2"), QStringLiteral("RSSMRA80A01H501X"), QStringLiteral("123"),
              QStringLiteral("4111111111111112"), QStringLiteral("IT60X0542811101000000124356"))});
  const ToolResult r = checkCodes({book});
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
  const ToolResult r = checkCodes({book});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_FALSE(r.err.isEmpty());
  EXPECT_FALSE(QFile::exists(book));
}

namespace {

ToolResult tool(const QStringList& args) {
  QProcess p;
  p.start(QStringLiteral(FONDARO_TOOL_PATH), args);
  const bool finished = p.waitForFinished(30000);
  return {finished && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
          QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

TCliente person(const QString& name, const QString& flag, const QString& questioni, const QString& note = {}) {
  TCliente r;
  r.Cliente.set(name);
  r.Recapito.set(QStringLiteral("333 1234567"));
  r.Occupazione.set(QStringLiteral("Artigiano"));
  r.Prodotti.set(QStringLiteral("Mobili"));
  r.Ricontatta.set(flag);
  r.Questioni.set(questioni);
  r.Note.set(note);
  return r;
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
  const ToolResult r = tool({QStringLiteral("recall"), book});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, name("Bianchi Luca") + columns + u"  \n"_qs + name("verdi Anna") + columns + u"  Preventivo\n"_qs);
  EXPECT_EQ((name("Bianchi Luca") + columns + u"  "_qs).size(), 115);

  const ToolResult l = tool({QStringLiteral("list"), book, QStringLiteral("Cliente=I")});
  EXPECT_EQ(l.exitCode, 0);
  EXPECT_EQ(l.out, name("Bianchi Luca") + columns + u"  nota\n"_qs + name("Neri Ugo") + columns + u"  \n"_qs +
                       name("Rossi Mario") + columns + u"  \n"_qs + name("verdi Anna") + columns + u"  \n"_qs);
}

TEST_F(CheckCodes, RecallOfAMissingFileFailsAndCreatesNothing) {
  const ToolResult r = tool({QStringLiteral("recall"), book});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_FALSE(QFile::exists(book));
}
