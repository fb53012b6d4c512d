// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the recurring movements: the repetition window, the list of
// schedules, and the message after a generation.
#include <QStringView>

namespace fondaro::recurringTexts {

// The repetition window ("Ripeti...").
inline constexpr QStringView kRipetiCaption = u" Ripeti il movimento";
inline constexpr QStringView kModificaCaption = u" Modifica il movimento ricorrente";
inline constexpr QStringView kMovement = u"Movimento:";
inline constexpr QStringView kRepeat = u"Ripeti:";
inline constexpr QStringView kEveryWeeks = u"ogni N settimane";
inline constexpr QStringView kWeeks = u"settimane";
inline constexpr QStringView kFirst = u"Primo movimento il:";
inline constexpr QStringView kNext = u"Prossimo movimento il:";
inline constexpr QStringView kAmount = u"Importo:";
inline constexpr QStringView kEnd = u"Fine:";
inline constexpr QStringView kNever = u"mai";
inline constexpr QStringView kOnDate = u"il giorno (incluso)";
inline constexpr QStringView kAfter = u"dopo";
inline constexpr QStringView kTimes = u"movimenti";
inline constexpr QStringView kTemplateNote =
    u"La scheda mostrata, così com'è ora, fa da modello: le modifiche successive alla scheda non cambiano "
    u"il movimento ricorrente. Ogni movimento riceve la propria data come data operazione e data di "
    u"scadenza, e risulta non saldato.";
inline constexpr QStringView kConfirm = u"Conferma";
inline constexpr QStringView kCancel = u"Annulla";
inline constexpr QStringView kList = u"Movimenti ricorrenti...";

// The list of schedules.
inline constexpr QStringView kListCaption = u" Movimenti ricorrenti";
inline constexpr QStringView kListTitle = u"Movimenti ricorrenti";
inline constexpr QStringView kListHint =
    u"I movimenti ricorrenti vengono inseriti in archivio all'accesso al programma e all'apertura del "
    u"registro, appena giunge la loro data (tenendo conto dei giorni di preavviso).";
inline constexpr QStringView kColumns[] = {u"N.",           u"Causale",       u"Importo", u"Tipo",
                                          u"Ripetizione",  u"Prossima data", u"Fine",    u"Stato"};
inline constexpr QStringView kIn = u"Entrata";
inline constexpr QStringView kOut = u"Uscita";
inline constexpr QStringView kActive = u"attivo";
inline constexpr QStringView kStopped = u"sospeso";
inline constexpr QStringView kNoDate = u"-";
inline constexpr QStringView kChange = u"Modifica...";
inline constexpr QStringView kStop = u"Sospendi";
inline constexpr QStringView kClose = u"Chiudi";
inline constexpr QStringView kEmptyList = u"Non è ancora stato registrato nessun movimento ricorrente.";
inline constexpr QStringView kChooseFirst = u"Selezionare prima un movimento ricorrente dall'elenco.";
inline constexpr QStringView kAlreadyStopped = u"Il movimento ricorrente selezionato è già sospeso.";
inline constexpr QStringView kStopQuestion =
    u"Sospendere il movimento ricorrente n. %1 (%2)?\r\n\r\n"
    u"Non verranno inseriti altri movimenti; quelli già inseriti restano in archivio.";

// After saving a schedule, and after a generation.
inline constexpr QStringView kAdded = u"Il movimento ricorrente n. %1 è stato registrato: %2, dal %3.";
inline constexpr QStringView kChanged = u"Le modifiche al movimento ricorrente n. %1 sono state salvate.";
inline constexpr QStringView kSeeThem = u"Visualizzarli nel riepilogo dei pagamenti in scadenza?";
inline constexpr QStringView kSeeIt = u"Visualizzarlo nel riepilogo dei pagamenti in scadenza?";

}  // namespace fondaro::recurringTexts
