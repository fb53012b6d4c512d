// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/skippedwarning.h"

#include "core/notice.h"

namespace fondaro {

namespace {

// %1 the positions, %2 the paragraph break.
QString wording(SkippingList list, bool one) {
  if (list == SkippingList::Journal)
    return one ? u"Attenzione: la scheda in posizione %1 non è stata inclusa nella primanota perché la data "
                 u"o "
                 u"l'importo non sono leggibili.%2Il suo importo non è conteggiato nei totali."_qs
               : u"Attenzione: le schede in posizione %1 non sono state incluse nella primanota perché la "
                 u"data o "
                 u"l'importo non sono leggibili.%2I loro importi non sono conteggiati nei totali."_qs;
  return one ? u"Attenzione: la scheda in posizione %1 non è stata esaminata perché la data di scadenza o i "
               u"giorni "
               u"di preavviso non sono leggibili.%2Le altre schede dell'archivio sono state esaminate e "
               u"l'elenco "
               u"le comprende."_qs
             : u"Attenzione: le schede in posizione %1 non sono state esaminate perché la data di scadenza o "
               u"i "
               u"giorni di preavviso non sono leggibili.%2Le altre schede dell'archivio sono state esaminate "
               u"e "
               u"l'elenco le comprende."_qs;
}

}  // namespace

QString skippedRecordsWarning(SkippingList list, const std::vector<SkippedRecord>& skipped) {
  return wording(list, skipped.size() == 1).arg(skippedPositionsText(skipped), kParagraphBreak);
}

}  // namespace fondaro
