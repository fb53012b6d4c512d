// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the statistics windows as the user reads them: captions,
// labels, buttons, notices and hover sentences.
namespace fondaro::statsTexts {

// The statistics year window.
inline constexpr char16_t kMenuCaption[] = u"Grafici Statistici";
inline constexpr char16_t kMenuInformation[] =
    u"In questo ambiente è possibile visualizzare grafici statistici tridimensionali relativi alle entrate e "
    u"uscite mensili e al bilancio annuale.";
inline constexpr char16_t kYear[] = u"Anno:";
inline constexpr char16_t kShow[] = u"Visualizza";
inline constexpr char16_t kMenuPicture[] = u"Grafici statistici";
inline constexpr char16_t kLogo[] = u"Fondaro 3.0";
inline constexpr char16_t kMenuGuide[] = u"Guida: applicazione Grafici Statistici";
inline constexpr char16_t kMenuLeave[] = u"Chiudi i Grafici Statistici";

// What tells one chart window from another.
struct ChartTexts {
  const char16_t* heading;          // its box in the year window
  const char16_t* titleBeforeYear;  // lblTitolo, set by the year window with the year and "."
  const char16_t* caption;          // after the product name: " Fondaro 3.0 - <caption>"
  const char16_t* chartTitle;
  const char16_t* legendTitle;
  const char16_t* rigo04;
  const char16_t* openingInfo;
  const char16_t* hoverBarre;
  const char16_t* hoverTorta;
};

inline constexpr ChartTexts kIncome = {
    u"Entrate mensili:",
    u"Rappresentazione grafica delle entrate mensili dell'anno ",
    u"Statistiche entrate mensili",
    u"Statistiche entrate mensili",
    u"Entrate mensili:",
    u"Il presente grafico statistico mostra le entrate relative a ciascun mese dell'anno in base ai "
    u"movimenti "
    u"registrati.",
    u"Grafico statistico delle entrate mensili.",
    u"Visualizza le statistiche delle entrate mensili sotto forma di grafico a barre tridimensionali.",
    u"Visualizza le statistiche delle entrate mensili sotto forma di grafico a torta tridimensionale.",
};

inline constexpr ChartTexts kExpense = {
    u"Uscite mensili:",
    u"Rappresentazione grafica delle uscite mensili dell'anno ",
    u"Statistiche uscite mensili",
    u"Statistiche uscite mensili",
    u"Uscite mensili:",
    u"Il presente grafico statistico mostra le uscite relative a ciascun mese dell'anno in base ai movimenti "
    u"registrati.",
    u"Grafico statistico delle uscite mensili.",
    u"Visualizza le statistiche delle uscite mensili sotto forma di grafico a barre tridimensionali.",
    u"Visualizza le statistiche delle uscite mensili sotto forma di grafico a torta tridimensionale.",
};

inline constexpr ChartTexts kBalance = {
    u"Bilancio annuale:",
    u"Rappresentazione grafica del bilancio entrate e uscite dell'anno ",
    u"Statistiche bilancio annuale",
    u"Bilancio entrate e uscite annuali",
    u"Bilancio annuale:",
    u"Il presente grafico statistico mostra il bilancio annuale delle entrate e uscite in base ai movimenti "
    u"registrati.",
    u"Grafico statistico del bilancio annuale.",
    u"Visualizza il bilancio annuale sotto forma di grafico a barre tridimensionali.",
    u"Visualizza il bilancio annuale sotto forma di grafico a torta tridimensionale.",
};

// The chart windows.
inline constexpr char16_t kRigo05[] =
    u"Servirsi dei pulsanti in calce per visualizzare il tipo di grafico desiderato e per mandarlo in "
    u"stampa.";
inline constexpr char16_t kFoot[] = u"Tutti gli importi sono arrotondati all'euro";
inline constexpr char16_t kBarre[] = u"Visualizza grafico a barre";
inline constexpr char16_t kTorta[] = u"Visualizza grafico a torta";
inline constexpr char16_t kStampa[] = u"Stampa grafico";
inline constexpr char16_t kEsci[] = u"Esci";
inline constexpr char16_t kChartPicture[] = u"Grafici statistici";
inline constexpr char16_t kChartGuide[] = u"Guida: applicazione Grafici Statistici";
inline constexpr char16_t kHoverStampa[] = u"Stampa il grafico corrente.";
inline constexpr char16_t kHoverEsci[] = u"Esci da questo ambiente di lavoro.";
inline constexpr char16_t kHoverGuida[] = u"Visualizza la pagina della guida sensibile al contesto.";

// Printing.
inline constexpr char16_t kAskPrint[] = u"Si vuole stampare il presente grafico statistico?";
inline constexpr char16_t kCopiesTitle[] = u"Numero copie da stampare";
inline constexpr char16_t kCopiesLabel[] = u"Copie:";
inline constexpr char16_t kTooManyCopies[] = u"Attenzione: indicare un numero di copie non superiore a %1.";

// %1 the card's position, %2 its amount text.
inline constexpr char16_t kBadAmount[] =
    u"Attenzione: l'importo della scheda n. %1 (\"%2\") non è un numero valido, perciò il grafico non può "
    u"essere calcolato.\r\n\r\nCorreggere l'importo della scheda nel Registro Movimenti.";

// The guide window's title, from the year window and the chart windows.
inline constexpr char16_t kGuideTitle[] = u"Applicazione Grafici Statistici.";

}  // namespace fondaro::statsTexts
