// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the journal's windows, the period window and the journal:
// captions, instructions, button texts, hover texts and notices. The period
// checks' messages come from the core, which the tool shares.
#include <QStringView>

namespace fondaro::journalTexts {

// Both windows.
inline constexpr QStringView kCaption = u"Primanota e Bilancio";
inline constexpr QStringView kGuideHover = u"Guida: applicazione Primanota e Bilancio";
inline constexpr QStringView kGuideTitle = u"Applicazione Primanota e Bilancio.";
inline constexpr QStringView kEsci = u"Esci";

// The period window.
inline constexpr QStringView kTitle = u"Primanota e Bilancio";
inline constexpr QStringView kCampo01 = u"Indicare l'anno solare di interesse e una causale.";
inline constexpr QStringView kCampo02 =
    u"Per ottenere lo storico di tutti i movimenti in entrata e in uscita, non indicare nessuna causale.";
inline constexpr QStringView kCampo03 = u"Indicare l'intervallo di tempo relativo al periodo da riepilogare.";
inline constexpr QStringView kAnno = u"Anno:";
inline constexpr QStringView kCausale = u"Causale:";
inline constexpr QStringView kStartGroup = u" Data inizio intervallo: ";
inline constexpr QStringView kEndGroup = u" Data fine intervallo: ";
inline constexpr QStringView kGiorno = u"Giorno:";
inline constexpr QStringView kMese = u"Mese:";
inline constexpr QStringView kStartDayName = u"Giorno di inizio intervallo";
inline constexpr QStringView kStartMonthName = u"Mese di inizio intervallo";
inline constexpr QStringView kEndDayName = u"Giorno di fine intervallo";
inline constexpr QStringView kEndMonthName = u"Mese di fine intervallo";
inline constexpr QStringView kYearDesign = u"ANNO";
inline constexpr QStringView kFileDesign = u"FilePath";
inline constexpr QStringView kWait = u"Caricamento riepilogo in corso. Attendere...";
inline constexpr QStringView kVisualizza = u"Visualizza riepilogo";

// The journal.
inline constexpr QStringView kBandTitle = u"PRIMANOTA E BILANCIO - Causale :";
inline constexpr QStringView kNoReason = u"- - -";
inline constexpr QStringView kIntervallo = u"Intervallo selezionato :";
inline constexpr QStringView kIntervalDesign = u"Dal gg/mm/aaaa al gg/mm/aaaa";
inline constexpr QStringView kTotEntrate = u"TOTALE ENTRATE :";
inline constexpr QStringView kTotUscite = u"TOTALE USCITE :";
inline constexpr QStringView kBilancio = u"BILANCIO ENTRATE E USCITE :";
inline constexpr QStringView kAmountDesign = u"0,00";
inline constexpr QStringView kStampa = u"Stampa primanota";
inline constexpr QStringView kNothingToPrint =
    u"Operazione di stampa non applicabile: la primanota non contiene nessun movimento in entrata o in "
    u"uscita.";
inline constexpr QStringView kPrintQuestion = u"Si vuole stampare la presente primanota?";
inline constexpr QStringView kNotAccessible = u"Attenzione: il file di archivio non risulta accessibile.";

}  // namespace fondaro::journalTexts
