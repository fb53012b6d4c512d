// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>

#include "core/movementcard.h"
#include "core/textrules.h"

using namespace fondaro;

namespace {

MovementCard completeCard() {
  MovementCard c = newCard();
  c[mov::Causale] = QStringLiteral("Quota associativa");
  c[mov::Data] = QStringLiteral("05/03/2024");
  c[mov::DataSca] = QStringLiteral("31/03/2024");
  c[mov::Pagatore] = QStringLiteral("Rossi Mario");
  c[mov::Beneficiario] = QStringLiteral("Associazione");
  c[mov::Importo] = QStringLiteral("50,00");
  return c;
}

}  // namespace

TEST(MovementCard, NewCardDefaults) {
  const MovementCard c = newCard();
  EXPECT_EQ(c[mov::Data], todayText());
  EXPECT_EQ(c[mov::Preavviso], QStringLiteral("0"));
  EXPECT_EQ(c[mov::Importo], QStringLiteral("0,00"));
  EXPECT_TRUE(c.entrata);
  EXPECT_FALSE(c.uscita);
  EXPECT_FALSE(c.saldato);
}

TEST(MovementCard, SaveChecksRunInOrder) {
  const QString needed = QStringLiteral("Attenzione: per salvare la scheda \u00E8 necessario indicare ");
  const struct {
    const char* what;
    std::function<void(MovementCard&)> spoil;
    CardField focus;
    NoticeKind kind;
    QString text;
  } cases[] = {
      {"no reason; everything else empty too",
       [](MovementCard& c) { c = MovementCard(); c.entrata = false; },
       CardField::Causale, NoticeKind::Warning, needed + QStringLiteral("la causale del pagamento.")},
      {"blank reason", [](MovementCard& c) { c[mov::Causale] = QStringLiteral("  "); c[mov::Data].clear(); },
       CardField::Causale, NoticeKind::Warning, needed + QStringLiteral("la causale del pagamento.")},
      {"no date", [](MovementCard& c) { c[mov::Data] = QStringLiteral(" "); c[mov::DataSca].clear(); },
       CardField::Data, NoticeKind::Warning, needed + QStringLiteral("la data di registrazione dell'operazione.")},
      {"bad date", [](MovementCard& c) { c[mov::Data] = QStringLiteral(" 31/02/2024 "); c[mov::DataSca].clear(); },
       CardField::Data, NoticeKind::Plain,
       QStringLiteral("Attenzione: la data 31/02/2024 non esiste.\n\r\n\rPer poter salvare la scheda \u00E8 necessario "
                      "indicare una data valida nel formato gg/mm/aaaa.")},
      {"no due date even with notice 0", [](MovementCard& c) { c[mov::DataSca].clear(); c[mov::Pagatore].clear(); },
       CardField::DataSca, NoticeKind::Warning, needed + QStringLiteral("la data di scadenza del pagamento.")},
      {"bad due date", [](MovementCard& c) { c[mov::DataSca] = QStringLiteral("29/02/2023"); c[mov::Preavviso].clear(); },
       CardField::DataSca, NoticeKind::Plain,
       QStringLiteral("Attenzione: la data 29/02/2023 non esiste.\n\r\n\rPer poter salvare la scheda \u00E8 necessario "
                      "indicare una data valida nel formato gg/mm/aaaa.")},
      {"no notice days", [](MovementCard& c) { c[mov::Preavviso].clear(); c[mov::Pagatore].clear(); },
       CardField::Preavviso, NoticeKind::Warning,
       needed + QStringLiteral("il numero di giorni di preavviso della scadenza del pagamento.")},
      {"no payer", [](MovementCard& c) { c[mov::Pagatore].clear(); c[mov::Beneficiario].clear(); },
       CardField::Pagatore, NoticeKind::Warning, needed + QStringLiteral("il nome del pagatore.")},
      {"no beneficiary", [](MovementCard& c) { c[mov::Beneficiario] = QStringLiteral("\t"); c.entrata = false; },
       CardField::Beneficiario, NoticeKind::Warning, needed + QStringLiteral("il nome del beneficiario.")},
      {"no movement type", [](MovementCard& c) { c.entrata = c.uscita = false; c[mov::Importo] = QStringLiteral("x"); },
       CardField::Entrata, NoticeKind::Warning, needed + QStringLiteral("il tipo di movimento (entrata o uscita).")},
      {"negative amount", [](MovementCard& c) { c[mov::Importo] = normaliseAmount(u"-5"); },
       CardField::Importo, NoticeKind::Warning, QStringLiteral("Attenzione: l'importo indicato non \u00E8 valido.")},
      {"exponent amount", [](MovementCard& c) { c[mov::Importo] = normaliseAmount(u"1E15"); },
       CardField::Importo, NoticeKind::Warning, QStringLiteral("Attenzione: l'importo indicato non \u00E8 valido.")},
      {"amount of 15 characters", [](MovementCard& c) { c[mov::Importo] = QStringLiteral("100000000000,00"); },
       CardField::Importo, NoticeKind::Warning, QStringLiteral("Attenzione: l'importo indicato non \u00E8 valido.")},
  };
  for (const auto& tc : cases) {
    MovementCard c = completeCard();
    tc.spoil(c);
    const auto p = checkBeforeSave(c);
    ASSERT_TRUE(p.has_value()) << tc.what;
    EXPECT_EQ(p->focus, tc.focus) << tc.what;
    EXPECT_EQ(p->notice.kind, tc.kind) << tc.what;
    EXPECT_EQ(p->notice.text, tc.text) << tc.what;
  }
}

TEST(MovementCard, AcceptedCards) {
  MovementCard c = completeCard();
  EXPECT_FALSE(checkBeforeSave(c));
  c[mov::Importo] = QStringLiteral("0,00");  // a zero amount is accepted
  EXPECT_FALSE(checkBeforeSave(c));
  c[mov::Importo] = QStringLiteral("99999999999,99");  // the largest that fits Totale with its sign
  c.entrata = false;
  c.uscita = true;
  EXPECT_FALSE(checkBeforeSave(c));
  c[mov::Data] = QStringLiteral("5/3/2024");
  EXPECT_FALSE(checkBeforeSave(c));
}

TEST(MovementCard, RecordFromCardWritesEveryFieldAndTheSignedAmount) {
  MovementCard c = completeCard();
  c[mov::Importo] = QStringLiteral("12,50");
  c[mov::Causale] = QStringLiteral("  Caff\u00E8  ");
  c.saldato = true;
  c[mov::File02] = QStringLiteral("fattura.pdf");
  c[mov::Desc03] = QStringLiteral("ricevuta");
  c[mov::Pagamento] = QString(300, u'p');
  TMovimento r = recordFromCard(c);
  EXPECT_EQ(r.Entrata.get(), kSi);
  EXPECT_EQ(r.Uscita.get(), kNo);
  EXPECT_EQ(r.Saldato.get(), kSi);
  EXPECT_EQ(r.Importo.get(), QStringLiteral("12,50"));
  EXPECT_EQ(r.Totale.get(), QStringLiteral("+12,50"));
  EXPECT_EQ(r.Causale.get(), QStringLiteral("Caff\u00E8"));
  EXPECT_EQ(r.File02.get(), QStringLiteral("fattura.pdf"));
  EXPECT_EQ(r.Desc03.get(), QStringLiteral("ricevuta"));
  EXPECT_EQ(r.Pagamento.len, 250);

  c.entrata = false;
  c.uscita = true;
  c.saldato = false;
  r = recordFromCard(c);
  EXPECT_EQ(r.Entrata.get(), kNo);
  EXPECT_EQ(r.Uscita.get(), kSi);
  EXPECT_EQ(r.Saldato.get(), kNo);
  EXPECT_EQ(r.Totale.get(), QStringLiteral("-12,50"));

  // Every text of the card comes back through showRecord.
  const ShownRecord s = showRecord(r);
  EXPECT_EQ(s.card[mov::Causale], QStringLiteral("Caff\u00E8"));
  EXPECT_EQ(s.card[mov::Pagatore], c[mov::Pagatore]);
  EXPECT_EQ(s.card[mov::File02], c[mov::File02]);
  EXPECT_EQ(s.entrata, false);
  EXPECT_EQ(s.uscita, true);
  EXPECT_EQ(s.saldato, false);
}

TEST(MovementCard, ShowRecordLeavesUnknownFlagsUntouched) {
  TMovimento r;
  r.Entrata.set(kNo);
  r.Uscita.set(u"No ");
  r.Saldato.set(u"");
  const ShownRecord s = showRecord(r);
  EXPECT_EQ(s.entrata, false);
  EXPECT_EQ(s.uscita, false);
  EXPECT_FALSE(s.saldato.has_value());
}

TEST(MovementCard, DuplicateKeepsTheDataButNotTheDatesAttachmentsAndSettlement) {
  MovementCard c = completeCard();
  c[mov::Data] = QStringLiteral("01/01/2020");
  c.saldato = true;
  c.uscita = true;
  c.entrata = false;
  c[mov::File01] = QStringLiteral("a.pdf");
  c[mov::Desc01] = QStringLiteral("a");
  duplicateCard(c);
  EXPECT_EQ(c[mov::Data], todayText());
  EXPECT_TRUE(c[mov::DataSca].isEmpty());
  EXPECT_FALSE(c.saldato);
  EXPECT_TRUE(c[mov::File01].isEmpty() && c[mov::Desc01].isEmpty());
  EXPECT_TRUE(c.uscita);
  EXPECT_EQ(c[mov::Importo], QStringLiteral("50,00"));
  EXPECT_EQ(c[mov::Pagatore], QStringLiteral("Rossi Mario"));
}

TEST(MovementCard, MailLink) {
  EXPECT_EQ(mailLink(QStringLiteral("  mario@example.org ")).openText, QStringLiteral("\"mailto:mario@example.org\""));
  EXPECT_EQ(mailLink(QStringLiteral("a@b.it?attach=/etc/passwd&body=x#y%20")).openText,
            QStringLiteral("\"mailto:a@b.it%3Fattach=/etc/passwd%26body=x%23y%2520\""));
  const MailResult empty = mailLink(QStringLiteral("   "));
  EXPECT_FALSE(empty.openText);
  ASSERT_TRUE(empty.problem);
  EXPECT_EQ(empty.problem->focus, CardField::Email);
  EXPECT_EQ(empty.problem->notice.text, QStringLiteral("Attenzione: indicare l'indirizzo e-mail del tesserato."));
}
