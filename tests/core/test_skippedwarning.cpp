// SPDX-License-Identifier: GPL-3.0-or-later
// The warning after a list that skipped damaged records: one record is named
// in the singular, several in the plural, in the journal and the due list.
#include <gtest/gtest.h>

#include "core/skippedwarning.h"

using namespace fondaro;

TEST(SkippedRecordsWarning, SingularForOneRecordPluralForSeveral) {
  const std::vector<SkippedRecord> one = {{8, {}}};
  const std::vector<SkippedRecord> two = {{2, {}}, {4, {}}};
  const struct {
    SkippingList list;
    const std::vector<SkippedRecord>& skipped;
    QString text;
  } cases[] = {
      {SkippingList::Journal, one,
       u"Attenzione: la scheda in posizione 8 non è stata inclusa nella primanota perché la data o l'importo "
       u"non "
       u"sono leggibili.\n\r\n\rIl suo importo non è conteggiato nei totali."_qs},
      {SkippingList::Journal, two,
       u"Attenzione: le schede in posizione 2, 4 non sono state incluse nella primanota perché la data o "
       u"l'importo "
       u"non sono leggibili.\n\r\n\rI loro importi non sono conteggiati nei totali."_qs},
      {SkippingList::DueList, one,
       u"Attenzione: la scheda in posizione 8 non è stata esaminata perché la data di scadenza o i giorni di "
       u"preavviso non sono leggibili.\n\r\n\rLe altre schede dell'archivio sono state esaminate e l'elenco "
       u"le "
       u"comprende."_qs},
      {SkippingList::DueList, two,
       u"Attenzione: le schede in posizione 2, 4 non sono state esaminate perché la data di scadenza o i "
       u"giorni "
       u"di preavviso non sono leggibili.\n\r\n\rLe altre schede dell'archivio sono state esaminate e "
       u"l'elenco le "
       u"comprende."_qs},
  };
  for (const auto& c : cases) EXPECT_EQ(skippedRecordsWarning(c.list, c.skipped), c.text);
}
