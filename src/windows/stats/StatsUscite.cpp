#include "stats/StatsUscite.h"

namespace fondaro {

namespace {
const StatsWindow::Sheet kSheet = {
    StatsWindow::Figures::MonthlyExpense,
    "frmStatsUscite",
    "Statistiche uscite mensili",
    "Statistiche uscite mensili",
    "Uscite mensili:",
    "Il presente grafico statistico mostra le uscite relative a ciascun mese dell'anno in base ai movimenti "
    "registrati.",
    "Grafico statistico delle uscite mensili.",
    "Visualizza le statistiche delle uscite mensili sotto forma di grafico a barre tridimensionali.",
    "Visualizza le statistiche delle uscite mensili sotto forma di grafico a torta tridimensionale.",
    "txtAnnoNDC",
    "tile_stats",
};
}  // namespace

TfrmStatsUscite::TfrmStatsUscite(QWidget* owner) : StatsWindow(owner, kSheet) {}

}  // namespace fondaro
