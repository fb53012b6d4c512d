#pragma once
// The program's 28 windows, one instance of each created at start in a fixed
// order. The first, the login window, is the main window. The navigation
// windows among them live for the whole run; the start-up instances of the
// per-use windows are never shown (every use creates a fresh one), except that
// the editors' instances are the ones per-use windows write their results into.
namespace fondaro {

class TfrmPassword;
class TfrmAvvio;
class TfrmCambiaPassword;
class TfrmCarta;
class TfrmCodFisc;
class TfrmGuida;
class TfrmIban;
class TfrmInfo;
class TfrmPartitaIva;
class TfrmSplash;
class TfrmClienti;
class TfrmAllegaCartella;
class TfrmRicontatta;
class TfrmTrovaClienti;
class TfrmExpClienti;
class TfrmMenuMovimenti;
class TfrmMovimenti;
class TfrmCalendario;
class TfrmExpMovimenti;
class TfrmSospesiMov;
class TfrmTrovaMovimenti;
class TfrmStampaMovimento;
class TfrmMenuBilancio;
class TfrmBilancio;
class TfrmMenuStats;
class TfrmStatsUscite;
class TfrmStatsEntrate;
class TfrmStatsBilancio;

struct WindowSet {
  TfrmPassword* frmPassword = nullptr;
  TfrmAvvio* frmAvvio = nullptr;
  TfrmCambiaPassword* frmCambiaPassword = nullptr;
  TfrmCarta* frmCarta = nullptr;
  TfrmCodFisc* frmCodFisc = nullptr;
  TfrmGuida* frmGuida = nullptr;
  TfrmIban* frmIban = nullptr;
  TfrmInfo* frmInfo = nullptr;
  TfrmPartitaIva* frmPartitaIva = nullptr;
  TfrmSplash* frmSplash = nullptr;
  TfrmClienti* frmClienti = nullptr;
  TfrmAllegaCartella* frmAllegaCartella = nullptr;
  TfrmRicontatta* frmRicontatta = nullptr;
  TfrmTrovaClienti* frmTrovaClienti = nullptr;
  TfrmExpClienti* frmExpClienti = nullptr;
  TfrmMenuMovimenti* frmMenuMovimenti = nullptr;
  TfrmMovimenti* frmMovimenti = nullptr;
  TfrmCalendario* frmCalendario = nullptr;
  TfrmExpMovimenti* frmExpMovimenti = nullptr;
  TfrmSospesiMov* frmSospesiMov = nullptr;
  TfrmTrovaMovimenti* frmTrovaMovimenti = nullptr;
  TfrmStampaMovimento* frmStampaMovimento = nullptr;
  TfrmMenuBilancio* frmMenuBilancio = nullptr;
  TfrmBilancio* frmBilancio = nullptr;
  TfrmMenuStats* frmMenuStats = nullptr;
  TfrmStatsUscite* frmStatsUscite = nullptr;
  TfrmStatsEntrate* frmStatsEntrate = nullptr;
  TfrmStatsBilancio* frmStatsBilancio = nullptr;
};

// Creates the 28 windows in their order (each creation handler runs as its
// window is made). The window tests start the program with it.
WindowSet& buildWindowSet();
// The login window alone, so that it shows at once; main() then calls
// completeWindowSet() as soon as it has been painted.
WindowSet& buildLoginWindow();
// Creates the windows not made yet, in their order; nothing when all are.
void completeWindowSet();
// The windows; the first use of another window completes the set.
WindowSet& windowSet();
// What the event loop does first: shows the main window, the login window.
void startWindowSet();
// Destroys the windows (tests, and the end of main()).
void destroyWindowSet();

}  // namespace fondaro
