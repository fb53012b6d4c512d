// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the windows of the totals by category, the rendiconto per cassa
// and its classification.
#include <QStringView>

namespace fondaro::categoryTexts {

// The period window's two entries, after its described controls.
inline constexpr QStringView kOpenCategories = u"Per categoria";
inline constexpr QStringView kOpenCategoriesHover =
    u"Riepilogo per categoria: entrate, uscite e saldo di ogni categoria nel periodo indicato";
inline constexpr QStringView kOpenRendiconto = u"Rendiconto per cassa";
inline constexpr QStringView kOpenRendicontoHover =
    u"Rendiconto per cassa (Modello D) degli enti del Terzo settore per l'anno indicato";

// Shared.
inline constexpr QStringView kEsci = u"Esci";
inline constexpr QStringView kAnteprima = u"Anteprima";
inline constexpr QStringView kStampa = u"Stampa";
inline constexpr QStringView kPdf = u"Crea PDF";
inline constexpr QStringView kGuida = u"Guida";
inline constexpr QStringView kGuideTitle = u"Riepilogo per categoria e rendiconto per cassa.";
inline constexpr QStringView kEsporta = u"Esporta";
inline constexpr QStringView kAskOpenPdf = u"Il file PDF è stato creato. Si desidera aprirlo?";
inline constexpr QStringView kAskOpenSheet = u"L'esportazione è stata completata. Si desidera aprire il file?";
inline constexpr QStringView kExportFailed = u"Attenzione: non è stato possibile esportare il file.";
inline constexpr QStringView kSkipped =
    u"Attenzione: alcuni movimenti non sono stati conteggiati perché la data o l'importo non sono leggibili:";

// The totals by category.
inline constexpr QStringView kCategoriesCaption = u"Riepilogo per categoria";
inline constexpr QStringView kDal = u"Dal:";
inline constexpr QStringView kAl = u"al:";
inline constexpr QStringView kAggiorna = u"Aggiorna";
inline constexpr QStringView kGraficoUscite = u"Grafico uscite";
inline constexpr QStringView kGraficoEntrate = u"Grafico entrate";
inline constexpr QStringView kCategoriesHint =
    u"Doppio clic su una categoria: i suoi movimenti nella ricerca dei movimenti dell'anno.";
inline constexpr QStringView kCategoryColumns[] = {u"Categoria", u"Movimenti", u"Entrate", u"Uscite", u"Saldo"};
inline constexpr QStringView kNoMovements = u"Il periodo indicato non contiene nessun movimento.";
inline constexpr QStringView kBadPeriod =
    u"Attenzione: indicare le date di inizio e di fine nella forma gg/mm/aaaa, la fine non anteriore all'inizio.";
inline constexpr QStringView kExpensesChart = u"Uscite per categoria";
inline constexpr QStringView kIncomeChart = u"Entrate per categoria";
inline constexpr QStringView kChartLegend = u"Categorie";
inline constexpr QStringView kNothingToChart = u"Il periodo non contiene movimenti di questo tipo.";
inline constexpr QStringView kBarre = u"Barre";
inline constexpr QStringView kTorta = u"Torta";

// The rendiconto.
inline constexpr QStringView kRendicontoCaption = u"Rendiconto per cassa (Modello D)";
inline constexpr QStringView kAnno = u"Anno:";
inline constexpr QStringView kCalcola = u"Calcola";
inline constexpr QStringView kClassifica = u"Classificazione...";
inline constexpr QStringView kZeroLines = u"Mostra le righe a zero";
inline constexpr QStringView kFigurativi = u"Costi e proventi figurativi";
inline constexpr QStringView kSaldi = u"Cassa e banca al 31/12";
inline constexpr QStringView kCassa = u"Cassa";
inline constexpr QStringView kBanca = u"Depositi bancari e postali";
inline constexpr QStringView kBancaBreve = u"Banca e posta";
inline constexpr QStringView kSalvaSaldi = u"Salva saldi";
inline constexpr QStringView kFormColumns[] = {u"Codice", u"Voce", u"Es. anno", u"Es. precedente"};
inline constexpr QStringView kRendicontoHint =
    u"Sono conteggiati i soli movimenti saldati, per data, secondo la classificazione delle categorie.";
inline constexpr QStringView kBadAmount = u"Attenzione: l'importo \"%1\" non è valido (esempio: 1250,00).";
inline constexpr QStringView kYearNeeded = u"Attenzione: indicare un anno di quattro cifre.";

// The classification.
inline constexpr QStringView kClassificaCaption = u"Classificazione delle categorie";
inline constexpr QStringView kClassificaHint =
    u"Per ogni categoria usata nell'anno e nel precedente scegliere la riga del rendiconto: per le uscite "
    u"una riga delle uscite, per le entrate una riga delle entrate. Una sottocategoria senza scelta "
    u"segue la sua categoria.";
inline constexpr QStringView kClassificaColumns[] = {u"Categoria", u"Uscite", u"Entrate"};
inline constexpr QStringView kUsciteChoice = u"Uscite:";
inline constexpr QStringView kEntrateChoice = u"Entrate:";
inline constexpr QStringView kNotClassified = u"non classificata";
inline constexpr QStringView kFollowsCategory = u"come la categoria";
inline constexpr QStringView kExcluded = u"X - non compreso (es. giroconto tra cassa e banca)";
inline constexpr QStringView kNoMoves = u"-";
inline constexpr QStringView kSalva = u"Salva";
inline constexpr QStringView kAnnulla = u"Annulla";

}  // namespace fondaro::categoryTexts
