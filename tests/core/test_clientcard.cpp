// SPDX-License-Identifier: GPL-3.0-or-later
// The address-book card's rules: flags shown, the record a save writes, the
// check before saving, and the printed rows.
#include <gtest/gtest.h>

#include "core/clientcard.h"
#include "core/textrules.h"

using namespace fondaro;

TEST(ClientCard, TheCallBackFlagIsSetClearedOrLeftAlone) {
  const std::pair<QString, std::optional<bool>> cases[] = {
      {kSi, true}, {QStringLiteral(" S\u00EC"), true}, {kNo, false}, {QStringLiteral("s\u00EC"), std::nullopt},
      {QString(), std::nullopt}};
  for (const auto& [stored, shown] : cases) {
    TCliente r;
    r.Ricontatta.set(stored);
    EXPECT_EQ(showClientRecord(r).ricontatta, shown) << stored.toStdString();
  }
}

TEST(ClientCard, ASaveWritesTrimmedTextsAndTheFlag) {
  ClientCard c;
  c[cli::Cliente] = QStringLiteral("  Rossi  ");
  c[cli::ProvRes] = QStringLiteral("MI");
  c[cli::Desc02] = QStringLiteral("Contratto");
  c.ricontatta = true;
  const TCliente r = recordFromClientCard(c);
  EXPECT_EQ(r.Cliente.get(), QStringLiteral("Rossi"));
  EXPECT_EQ(r.ProvRes.get(), QStringLiteral("MI"));
  EXPECT_EQ(r.Desc02.get(), QStringLiteral("Contratto"));
  EXPECT_EQ(r.Ricontatta.get(), kSi);
  c.ricontatta = false;
  EXPECT_EQ(recordFromClientCard(c).Ricontatta.get(), kNo);

  duplicateClientCard(c);
  EXPECT_TRUE(c[cli::Desc02].isEmpty());
  EXPECT_EQ(c[cli::Cliente], QStringLiteral("  Rossi  "));
}

TEST(ClientCard, OnlyANameIsNeeded) {
  ClientCard c;
  c[cli::Cliente] = QStringLiteral(" \t ");
  ASSERT_TRUE(checkClientBeforeSave(c).has_value());
  EXPECT_EQ(checkClientBeforeSave(c)->kind, NoticeKind::Warning);
  c[cli::Cliente] = QStringLiteral("R");
  EXPECT_FALSE(checkClientBeforeSave(c).has_value());
}

TEST(ClientCard, PrintedRowsJoinTownAndProvinceAndTheCard) {
  ClientCard c;
  c[cli::ComuneNasc] = QStringLiteral(" Roma ");
  c[cli::ComuneRes] = QStringLiteral("Milano");
  c[cli::ProvRes] = QStringLiteral("MI");
  c[cli::Carta] = QStringLiteral("4111");
  c[cli::ScadeCarta] = QStringLiteral("12/26");
  c[cli::Note] = QStringLiteral("[DATE] resta cos\u00EC");
  const auto rows = printedRows(c);
  EXPECT_EQ(rows[2].caption, QStringLiteral("Comune di nascita:"));
  EXPECT_EQ(rows[2].value, QStringLiteral("Roma "));
  EXPECT_EQ(rows[6].value, QStringLiteral("Milano MI"));
  EXPECT_EQ(rows[7].caption, QStringLiteral("Modalit\u00E0 pagamento:"));
  EXPECT_EQ(rows[15].value, QStringLiteral("N. 4111  -  Scadenza: 12/26"));
  EXPECT_EQ(rows[23].value, QStringLiteral("[DATE] resta cos\u00EC"));
  EXPECT_EQ(printedRows(ClientCard{})[15].value, QStringLiteral("N.   -  Scadenza: "));
  EXPECT_EQ(printedFooter(QDateTime(QDate(2026, 3, 5), QTime(9, 7, 3))),
            QStringLiteral("Stampa eseguita in data 05/03/2026 alle ore 09:07:03"));
}

TEST(ClientCard, TheProvinceListHoldsTheCodesInOrder) {
  const QStringList& codes = provinceCodes();
  ASSERT_EQ(codes.size(), 112);
  EXPECT_EQ(codes.front(), QStringLiteral("AG"));
  EXPECT_EQ(codes.back(), QStringLiteral("VV"));
  QStringList sorted = codes;
  sorted.sort();
  EXPECT_EQ(sorted, codes);
  for (const QString& c : codes) EXPECT_EQ(c.size(), 2);
}

TEST(ClientCard, TheMailLinkIsSharedWithTheMovementEditor) {
  EXPECT_EQ(mailtoOpenText(u"  "), QStringLiteral("\"mailto:\""));
  EXPECT_EQ(mailtoOpenText(u" a@b.it?x&y#z% "), QStringLiteral("\"mailto:a@b.it%3Fx%26y%23z%25\""));
}
