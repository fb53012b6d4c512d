// fondaro-tool check-codes: the four checks over an address book.
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
