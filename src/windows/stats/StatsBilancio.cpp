#include "stats/StatsBilancio.h"

namespace fondaro {

namespace {
const StatsWindow::Sheet kSheet = {
    StatsWindow::Figures::Annual,
    "frmStatsBilancio",
    "Statistiche bilancio annuale",
    "Bilancio entrate e uscite annuali",
    "Bilancio annuale:",
    "Il presente grafico statistico mostra il bilancio annuale delle entrate e uscite in base ai movimenti "
    "registrati.",
    "Grafico statistico del bilancio annuale.",
    "Visualizza il bilancio annuale sotto forma di grafico a barre tridimensionali.",
    "Visualizza il bilancio annuale sotto forma di grafico a torta tridimensionale.",
    "txtAnnoDDT",
    "tile_stats",
};
}  // namespace

TfrmStatsBilancio::TfrmStatsBilancio(QWidget* owner) : StatsWindow(owner, kSheet) {}

}  // namespace fondaro
