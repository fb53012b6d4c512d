// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the window "Importa estratto conto" and of its messages.
#include <QStringView>

namespace fondaro::importTexts {

// The button of the register's year window that opens this window.
inline constexpr QStringView kYearWindowButton = u"Importa estratto conto...";

inline constexpr QStringView kCaption = u" Importa estratto conto";
inline constexpr QStringView kTitle = u"Importa estratto conto";
inline constexpr QStringView kHint =
    u"Scegliere il file dell'estratto conto scaricato dalla banca (CAMT.053, OFX o CSV). Ogni movimento "
    u"contabilizzato in euro diventa un movimento saldato nell'archivio dell'anno della sua data contabile; "
    u"i movimenti già presenti non vengono aggiunti di nuovo. Un pagamento che salda un movimento non ancora "
    u"saldato (stesso importo, scadenza vicina) non viene aggiunto: il movimento viene segnato come saldato. "
    u"Togliere il segno di spunta ai movimenti da non importare.";
inline constexpr QStringView kFile = u"File:";
inline constexpr QStringView kBrowse = u"Sfoglia...";
inline constexpr QStringView kImport = u"Importa";
inline constexpr QStringView kGuide = u"Guida";
inline constexpr QStringView kClose = u"Chiudi";
inline constexpr QStringView kOpenCaption = u"Scegli l'estratto conto";
inline constexpr QStringView kOpenFilter =
    u"Estratti conto (*.xml *.XML *.ofx *.OFX *.qfx *.QFX *.csv *.CSV *.txt *.TXT);;Tutti i file (*)";
inline constexpr QStringView kNoFile = u"Nessun file scelto.";

inline constexpr QStringView kColumns[] = {u"",        u"N.",          u"Data",        u"Tipo",  u"Importo",
                                          u"Causale", u"Controparte", u"Riferimento", u"Stato"};
inline constexpr QStringView kIn = u"Entrata";
inline constexpr QStringView kOut = u"Uscita";
inline constexpr QStringView kStateNew = u"Nuovo";
inline constexpr QStringView kStateLeftOut = u"Nuovo, escluso";
inline constexpr QStringView kStatePresent = u"Già presente";
inline constexpr QStringView kStateSkipped = u"Scartato: %1";
// An entry that pays a stored movement: %1 its Causale, %2 its year, %3 its
// position, %4 its due date.
inline constexpr QStringView kStateSettles = u"Salda: %1 (anno %2, n. %3, scadenza %4)";
inline constexpr QStringView kStateSettlesLeftOut = u"Escluso (salderebbe: %1)";
inline constexpr QStringView kStateRefused = u"Nuovo (abbinamento rifiutato)";

// The choice of the movement an entry settles, under the list.
inline constexpr QStringView kMatchLabel = u"Salda il movimento:";
// %1 Causale, %2 year, %3 position, %4 due date, %5 payer or beneficiary.
inline constexpr QStringView kMatchItem = u"%1 - anno %2, n. %3, scadenza %4 %5";
inline constexpr QStringView kMatchNone = u"Nessuno: aggiungere come movimento nuovo";
inline constexpr QStringView kMatchNoCandidate = u"(nessun movimento da saldare per questa voce)";

// The line under the list: %1 new to import, %2 left out, %3 present, %4 skipped.
inline constexpr QStringView kCounts = u"Da importare: %1   Esclusi: %2   Già presenti: %3   Scartati: %4";
// After it when some entry pays a stored movement: %1 the movements to settle.
inline constexpr QStringView kCountsSettled = u"   Da saldare: %1";

// The mapping of a CSV file's columns.
inline constexpr QStringView kMapHint =
    u"Le colonne di questo file non sono state riconosciute. Indicare quale colonna contiene la data, "
    u"l'importo (oppure le uscite e le entrate in due colonne), la descrizione, la controparte e il "
    u"riferimento, poi premere Applica. La prima riga del file è l'intestazione e non viene importata; "
    u"la scelta viene ricordata per i file con la stessa intestazione.";
inline constexpr QStringView kMapLabels[] = {u"Data:",        u"Importo:",     u"Uscite:",     u"Entrate:",
                                            u"Descrizione:", u"Controparte:", u"Riferimento:"};
inline constexpr QStringView kNoColumn = u"(nessuna)";
inline constexpr QStringView kApply = u"Applica";
inline constexpr QStringView kMapNeedsDate = u"Indicare la colonna della data.";
inline constexpr QStringView kMapNeedsAmount =
    u"Indicare la colonna dell'importo, oppure le due colonne delle uscite e delle entrate.";

// Progress sentences.
inline constexpr QStringView kReading = u"Lettura dell'estratto conto...";
inline constexpr QStringView kChecking = u"Ricerca dei movimenti già presenti in archivio...";

// Messages.
inline constexpr QStringView kCannotRead = u"Impossibile importare l'estratto conto %1.";
inline constexpr QStringView kNothingToImport = u"Non ci sono movimenti nuovi da importare.";
inline constexpr QStringView kDone = u"Importazione dell'estratto conto %1 completata.";
inline constexpr QStringView kYearLine = u"Anno %1: %2, %3.";
inline constexpr QStringView kAddedOne = u"1 movimento aggiunto";
inline constexpr QStringView kAddedMany = u"%1 movimenti aggiunti";
inline constexpr QStringView kPresentOne = u"1 già presente";
inline constexpr QStringView kPresentMany = u"%1 già presenti";
inline constexpr QStringView kYearLinePaid = u"Anno %1: %2, %3, %4.";
inline constexpr QStringView kPaidOne = u"1 movimento saldato";
inline constexpr QStringView kPaidMany = u"%1 movimenti saldati";
inline constexpr QStringView kOpenDueList = u"Aprire l'elenco dei pagamenti in scadenza o scaduti dell'anno %1?";
inline constexpr QStringView kSkippedLine = u"Movimenti scartati: %1.";
inline constexpr QStringView kLeftOutLine = u"Movimenti esclusi: %1.";
inline constexpr QStringView kOpenYear = u"Aprire i movimenti dell'anno %1?";
inline constexpr QStringView kWriteFailed =
    u"Non è stato possibile scrivere tutto nell'archivio dell'anno %1: %2 movimenti di quell'anno sono stati "
    u"scritti prima dell'errore.";
inline constexpr QStringView kWrittenByYear = u"Ora negli archivi:";

}  // namespace fondaro::importTexts
