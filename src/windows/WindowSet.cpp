// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowSet.h"

#include <QDate>
#include <QTimer>
#include <utility>

#include "core/archive.h"
#include "core/notice.h"
#include "core/recurring.h"
#include "gui/messages.h"
#include "gui/product.h"
#include "gui/programfolder.h"

#include "app/Avvio.h"
#include "app/CambiaPassword.h"
#include "app/Guida.h"
#include "app/Info.h"
#include "app/Password.h"
#include "app/Splash.h"
#include "clients/Clienti.h"
#include "common/AllegaCartella.h"
#include "clients/ExpClienti.h"
#include "clients/Ricontatta.h"
#include "clients/TrovaClienti.h"
#include "journal/Bilancio.h"
#include "journal/MenuBilancio.h"
#include "movements/Calendario.h"
#include "movements/ExpMovimenti.h"
#include "movements/MenuMovimenti.h"
#include "movements/Movimenti.h"
#include "movements/SospesiMov.h"
#include "movements/StampaMovimento.h"
#include "movements/TextsRicorrenti.h"
#include "movements/TrovaMovimenti.h"
#include "stats/MenuStats.h"
#include "stats/StatsBilancio.h"
#include "stats/StatsEntrate.h"
#include "stats/StatsUscite.h"
#include "validators/Carta.h"
#include "validators/CodFisc.h"
#include "validators/Iban.h"
#include "validators/PartitaIVA.h"

namespace fondaro {

namespace {
WindowSet& theSet() {
  static WindowSet set;
  return set;
}
// 0: the login window alone; 1: the rest being made; 2: every window made.
int& stage() {
  static int s = 2;
  return s;
}
}  // namespace

WindowSet& buildWindowSet() {
  buildLoginWindow();
  completeWindowSet();
  return theSet();
}

WindowSet& buildLoginWindow() {
  destroyWindowSet();
  theSet().frmPassword = new TfrmPassword;
  stage() = 0;
  return theSet();
}

void completeWindowSet() {
  if (stage() != 0) return;
  stage() = 1;
  WindowSet& s = theSet();
  s.frmAvvio = new TfrmAvvio;
  s.frmCambiaPassword = new TfrmCambiaPassword;
  s.frmCarta = new TfrmCarta;
  s.frmCodFisc = new TfrmCodFisc;
  s.frmGuida = new TfrmGuida;
  s.frmIban = new TfrmIban;
  s.frmInfo = new TfrmInfo;
  s.frmPartitaIva = new TfrmPartitaIva;
  s.frmSplash = new TfrmSplash;
  s.frmClienti = new TfrmClienti;
  s.frmAllegaCartella = new TfrmAllegaCartella;
  s.frmRicontatta = new TfrmRicontatta;
  s.frmTrovaClienti = new TfrmTrovaClienti;
  s.frmExpClienti = new TfrmExpClienti;
  s.frmMenuMovimenti = new TfrmMenuMovimenti;
  s.frmMovimenti = new TfrmMovimenti;
  s.frmCalendario = new TfrmCalendario;
  s.frmExpMovimenti = new TfrmExpMovimenti;
  s.frmSospesiMov = new TfrmSospesiMov;
  s.frmTrovaMovimenti = new TfrmTrovaMovimenti;
  s.frmStampaMovimento = new TfrmStampaMovimento;
  s.frmMenuBilancio = new TfrmMenuBilancio;
  s.frmBilancio = new TfrmBilancio;
  s.frmMenuStats = new TfrmMenuStats;
  s.frmStatsUscite = new TfrmStatsUscite;
  s.frmStatsEntrate = new TfrmStatsEntrate;
  s.frmStatsBilancio = new TfrmStatsBilancio;
  stage() = 2;
}

WindowSet& windowSet() {
  completeWindowSet();
  return theSet();
}

void startWindowSet() { theSet().frmPassword->present(); }

void destroyWindowSet() {
  stage() = 2;
  WindowSet& s = theSet();
  // In reverse order of creation.
  delete s.frmStatsBilancio;
  delete s.frmStatsEntrate;
  delete s.frmStatsUscite;
  delete s.frmMenuStats;
  delete s.frmBilancio;
  delete s.frmMenuBilancio;
  delete s.frmStampaMovimento;
  delete s.frmTrovaMovimenti;
  delete s.frmSospesiMov;
  delete s.frmExpMovimenti;
  delete s.frmCalendario;
  delete s.frmMovimenti;
  delete s.frmMenuMovimenti;
  delete s.frmExpClienti;
  delete s.frmTrovaClienti;
  delete s.frmRicontatta;
  delete s.frmAllegaCartella;
  delete s.frmClienti;
  delete s.frmSplash;
  delete s.frmPartitaIva;
  delete s.frmInfo;
  delete s.frmIban;
  delete s.frmGuida;
  delete s.frmCodFisc;
  delete s.frmCarta;
  delete s.frmCambiaPassword;
  delete s.frmAvvio;
  delete s.frmPassword;
  s = WindowSet{};
}

// ---- Opening functions -------------------------------------------------------

void openLauncher(QWidget* from) { gui::switchTo(from, theSet().frmAvvio); }

QWidget* openRegister(QWidget* from, const QString& year) {
  TfrmMovimenti* editor = windowSet().frmMovimenti;
  editor->setArchiveFile(movementArchivePath(gui::programFolder(), year));
  editor->setWindowTitle(gui::windowCaption(u"Registro movimenti anno ") + year);
  gui::switchTo(from, editor);
  return editor;
}

namespace {
QString& registerAfterLogin() {
  static QString year;
  return year;
}
}  // namespace

void openRegisterAfterLogin(const QString& year) { registerAfterLogin() = year; }

void enterAfterLogin(QWidget* login) {
  const QString year = std::exchange(registerAfterLogin(), QString());
  if (year.isEmpty()) {
    gui::switchTo(login, theSet().frmAvvio);
    runRecurringMovements(theSet().frmAvvio);
    return;
  }
  QWidget* editor = openRegister(login, year);
  // Once the register is on screen, as when the year window opens it.
  QTimer::singleShot(0, editor, [editor] { runRecurringMovements(editor); });
}

std::optional<gui::StoredRecord<TCliente>> pickPerson(QWidget* owner) {
  TfrmTrovaClienti w(owner);
  w.showModal();
  return w.picked();
}

void showGuide(QWidget* owner, const QString& title, const QString& text) { TfrmGuida::Show(owner, title, text); }

namespace {

// The year whose due list shows the movements added: the current one when
// some were added to it, else the year of the last added.
QString yearToShow(const std::vector<GeneratedMovement>& added) {
  const int now = QDate::currentDate().year();
  for (const GeneratedMovement& g : added)
    if (g.date.year() == now) return g.yearText;
  return added.back().yearText;
}

void showInDueList(QWidget* parent, const std::vector<GeneratedMovement>& added) {
  TfrmMovimenti* editor = windowSet().frmMovimenti;
  if (!editor->isVisible()) openRegister(parent->window(), yearToShow(added));
  editor->cmdScadenzeClick();
}

}  // namespace

void runRecurringMovements(QWidget* parent) {
  namespace t = recurringTexts;
  std::vector<GeneratedMovement> added;
  QString problem;
  try {
    generateRecurring(gui::programFolderPath(), QDate::currentDate(), added);
  } catch (const RecurringError& e) {
    problem = e.italian();
  } catch (const ArchiveError&) {
    problem = archiveAccessMessage();
  }
  if (!added.empty()) {
    const QString text = generatedMessage(int(added.size())) + kParagraphBreak +
                         (added.size() == 1 ? t::kSeeIt : t::kSeeThem).toString();
    if (gui::question(parent, text)) showInDueList(parent, added);
  }
  if (!problem.isEmpty()) gui::notice(parent, gui::Icon::Warning, problem);
}

}  // namespace fondaro
