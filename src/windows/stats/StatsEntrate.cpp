#include "stats/StatsEntrate.h"

namespace fondaro {

namespace {
const StatsWindow::Sheet kSheet = {
    StatsWindow::Figures::MonthlyIncome,
    "frmStatsEntrate",
    "Statistiche entrate mensili",
    "Statistiche entrate mensili",
    "Entrate mensili:",
    "Il presente grafico statistico mostra le entrate relative a ciascun mese dell'anno in base ai movimenti "
    "registrati.",
    "Grafico statistico delle entrate mensili.",
    "Visualizza le statistiche delle entrate mensili sotto forma di grafico a barre tridimensionali.",
    "Visualizza le statistiche delle entrate mensili sotto forma di grafico a torta tridimensionale.",
    "txtAnnoPreventivi",
    "tile_stats",
};
}  // namespace

TfrmStatsEntrate::TfrmStatsEntrate(QWidget* owner) : StatsWindow(owner, kSheet) {}

}  // namespace fondaro
