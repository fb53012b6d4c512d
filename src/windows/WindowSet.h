// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's 28 windows, one instance of each created at start in a fixed
// order. The first, the login window, is the main window. The navigation
// windows among them live for the whole run; the start-up instances of the
// per-use windows are never shown (every use creates a fresh one), except that
// the movement editor's instance is the register that the opening functions
// below bring up.
#include <QString>
#include <optional>

class QWidget;

namespace fondaro {

struct TCliente;
namespace gui {
template <class Rec>
struct StoredRecord;
}  // namespace gui

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

// ---- Opening functions -------------------------------------------------------
// How a window brings up a window of the set that is not its own to open: the
// areas reach the launcher, the register and the guide through these alone.

// The launcher in place of `from`.
void openLauncher(QWidget* from);
// The movement register of `year` (four digits) in place of `from`: the editor
// on that year's archive, with the year in its caption. Returns the register.
QWidget* openRegister(QWidget* from, const QString& year);
// The register of `year` (four digits) is what the login opens, in place of
// the launcher; empty: the launcher, as always. The start sets it from an
// archive named on the command line.
void openRegisterAfterLogin(const QString& year);
// What a right password opens: the launcher (or the register set above), then
// the recurring movements whose time has come.
void enterAfterLogin(QWidget* login);
// The address-book search, modal over `owner`: the card the user picked, or
// nothing. The card editor shows it; the movement editor copies the person.
std::optional<gui::StoredRecord<TCliente>> pickPerson(QWidget* owner);
// A guide page: `title` over `text`, modal over `owner`.
void showGuide(QWidget* owner, const QString& title, const QString& text);
// Generates the recurring movements whose time has come and says how many
// were added, offering to show them in the due list of the register (of the
// year of the movements added when the register is not open). A schedule file
// or an archive that cannot be used is reported. The login, the year window,
// the editor and the list of recurring movements start it, all through here.
void runRecurringMovements(QWidget* parent);

}  // namespace fondaro
