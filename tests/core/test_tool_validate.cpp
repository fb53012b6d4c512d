// SPDX-License-Identifier: GPL-3.0-or-later
// fondaro-tool validate: the printed notice and the exit status of the built tool.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include "test_support.h"

namespace {

using ToolRun = fondaro::testing::ToolBytes;

const QByteArray kIvaBologna2 =
    "Il numero di partita IVA digitato risulta VALIDO.\r\n\r\n"
    "E' stato rilasciato dall'Ufficio IVA del Comune di Bologna 2.\n";
const QByteArray kCartaVisa =
    "Il numero di carta di credito 4111-1111-1111-1111 risulta valido.\r\n\r\n"
    "La carta di credito \xC3\xA8 del tipo Visa.\n";

struct Case {
  QStringList args;
  int exitCode;
  QByteArray out;  // exact standard output; for usage errors, empty
};

const Case kCases[] = {
    {{u"codfisc"_qs, u"RSSMRA80A01H501U"_qs}, 0, "Il codice fiscale digitato \xC3\xA8 VALIDO.\n"},
    {{u"CODFISC"_qs, u"rssmra80a01h501x"_qs}, 1,
     "Attenzione: il codice fiscale digitato \xC3\xA8 ERRATO.\n"},
    {{u"codfisc"_qs, u""_qs}, 3,
     "Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici.\n"},
    {{u"codfisc"_qs, QStringLiteral("RSSMR\u00C080A01H501U")}, 3,
     "Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici.\n"},
    {{u"piva"_qs, u"12345671205"_qs}, 0, kIvaBologna2},
    {{u"piva"_qs, u"1234567890123456"_qs}, 3,
     "Attenzione: la partita IVA deve essere composta da 11 caratteri numerici.\n"},
    {{u"carta"_qs, u"4111-1111-1111-1111"_qs}, 0, kCartaVisa},
    // After "--" a TEXT may begin with a hyphen; the digits alone are tested.
    {{u"carta"_qs, u"--"_qs, u"-4111111111111111"_qs}, 0,
     "Il numero di carta di credito -4111111111111111 risulta valido.\r\n\r\n"
     "La carta di credito \xC3\xA8 del tipo Visa.\n"},
    {{u"carta"_qs, u"4111111111111112"_qs}, 1,
     "Attenzione: il numero digitato risulta ERRATO!\r\n\r\n"
     "Non \xC3\xA8 quindi possibile fornire informazioni relative al tipo di carta di credito.\n"},
    {{u"carta"_qs, u"   "_qs}, 3,
     "Attenzione: immettere il numero di carta di credito prima di premere il pulsante di "
     "controllo.\n"},
    {{u"iban"_qs, u"IT60X0542811101000000123456"_qs}, 0, "L'IBAN digitato \xC3\xA8 VALIDO.\n"},
    {{u"iban"_qs, u"IT60X0542811101000000124356"_qs}, 1, "Attenzione: l'IBAN digitato \xC3\xA8 ERRATO!\n"},
    {{u"iban"_qs, u"IT60 X054 2811 1010 0000 0123 456"_qs}, 3,
     "Attenzione: l'IBAN deve essere composto da 27 caratteri alfanumerici.\n"},
    {{u"iban"_qs, u"--"_qs, u"--help"_qs}, 3,
     "Attenzione: l'IBAN deve essere composto da 27 caratteri alfanumerici.\n"},
    // Usage errors.
    {{}, 2, ""},
    {{u"codfisc"_qs}, 2, ""},
    {{u"cf"_qs, u"RSSMRA80A01H501U"_qs}, 2, ""},
    {{u"iban"_qs, u"IT60"_qs, u"X0542811101000000123456"_qs}, 2, ""},
    {{u"--verbose"_qs, u"iban"_qs, u"x"_qs}, 2, ""},
};

void checkRun(const Case& c, const ToolRun& r) {
  SCOPED_TRACE(c.args.join(u' ').toStdString());
  EXPECT_EQ(r.exitCode, c.exitCode);
  if (c.exitCode == 2) {
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains("usage: fondaro-tool validate codfisc|piva|carta|iban TEXT"));
  } else {
    EXPECT_EQ(r.out, c.out);
    EXPECT_TRUE(r.err.isEmpty());
  }
}

ToolRun validate(const QStringList& args) {
  return fondaro::testing::runToolBytes(QStringList{QStringLiteral("validate")} + args);
}

TEST(ToolValidate, NoticesAndExitCodes) {
  for (const Case& c : kCases) checkRun(c, validate(c.args));
}

TEST(ToolValidate, Help) {
  for (const QStringList& args : {QStringList{u"--help"_qs}, QStringList{u"-h"_qs},
                                  QStringList{u"iban"_qs, u"--help"_qs}}) {
    const ToolRun r = validate(args);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith("usage: fondaro-tool validate codfisc|piva|carta|iban TEXT"));
  }
}

}  // namespace
