// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/preview.h"

#include <QAction>
#include <QBoxLayout>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>
#include <functional>

#include "gui/application.h"
#include "gui/form.h"
#include "gui/print.h"
#include "gui/progress.h"
#include "gui/widgets.h"
#include "report/pdf.h"

namespace fondaro::gui {

namespace {

const QString kPreviewText = u"Preparazione dell'anteprima di stampa..."_qs;
constexpr int kIcon = 32;  // as the editors' toolbars

// A toolbar command: its picture, its caption under the picture, the sentence
// of its tooltip and the keys that give it.
struct Command {
  const char* name;
  QStringView art;
  QStringView caption;
  QStringView hover;
  QList<QKeySequence> keys = {};
};

class PreviewWindow : public Form {
 public:
  PreviewWindow(QPrinter& printer, PrintDocument& doc, QWidget* owner);
  bool cancelled() const { return cancelled_; }

 protected:
  void FormShow() override;

 private:
  void paintPages(QPrinter* printer);
  QToolBar* buildToolbar();
  QAction* add(QToolBar* bar, const Command& c, std::function<void()> run);
  void goTo(int page);
  void followView();
  static QSize openingSize(const QScreen* screen);

  PrintDocument& doc_;
  QPrintPreviewWidget* view_;
  QLabel* page_ = nullptr;
  QAction* previous_[2] = {};  // first, previous
  QAction* next_[2] = {};      // next, last
  QAction* fullScreen_ = nullptr;
  bool cancelled_ = false;
};

PreviewWindow::PreviewWindow(QPrinter& printer, PrintDocument& doc, QWidget* owner)
    : Form(owner, Kind::Dialog, Placement::Owner), doc_(doc) {
  setObjectName(u"frmAnteprima"_qs);
  // Pages are read, not glanced at: unlike the other dialogs it can be
  // maximised and resized.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
  setWindowTitle(u"Anteprima di stampa - "_qs + doc.title());
  view_ = new QPrintPreviewWidget(&printer, this);
  view_->setObjectName(u"viewAnteprima"_qs);
  view_->fitInView();  // a whole page at first, as the pages are laid out
  connect(view_, &QPrintPreviewWidget::paintRequested, this, &PreviewWindow::paintPages);
  connect(view_, &QPrintPreviewWidget::previewChanged, this, &PreviewWindow::followView);
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  box->setSpacing(0);
  QToolBar* bar = buildToolbar();
  box->addWidget(bar);
  box->addWidget(view_, 1);
  // Never narrower than the toolbar: a command would go behind its extension
  // button. On a screen narrower still, the dialog kit scales the window down.
  const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
  setFixedSize(openingSize(screen).expandedTo(QSize(bar->sizeHint().width(), 0)));
  view_->setFocus();
}

// Most of the screen.
QSize PreviewWindow::openingSize(const QScreen* screen) {
  if (!screen) return {1024, 768};
  const QSize room = screen->availableGeometry().size();
  return {room.width() * 4 / 5, room.height() * 9 / 10};
}

// The dialog kit places the window at the size it opens with; from then on
// the user sizes it.
void PreviewWindow::FormShow() {
  setMinimumSize(480, 360);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void PreviewWindow::paintPages(QPrinter* printer) {
  ProgressDialog progress(this, kPreviewText);
  try {
    report::paintDocument(doc_, *printer, {}, progress.callback());
  } catch (const Cancelled&) {
    // Pages the user did not wait for are not shown half: the preview closes.
    cancelled_ = true;
    QMetaObject::invokeMethod(this, [this] { close(); }, Qt::QueuedConnection);
  }
}

QAction* PreviewWindow::add(QToolBar* bar, const Command& c, std::function<void()> run) {
  QAction* a = bar->addAction(QIcon(art(c.art.toString(), kIcon)), c.caption.toString());
  a->setObjectName(QLatin1String(c.name));
  a->setToolTip(c.hover.toString());
  a->setShortcuts(c.keys);
  connect(a, &QAction::triggered, this, std::move(run));
  return a;
}

QToolBar* PreviewWindow::buildToolbar() {
  auto* bar = new QToolBar(this);
  bar->setObjectName(u"barAnteprima"_qs);
  bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  bar->setIconSize(QSize(kIcon, kIcon));
  bar->setFont(windowFont("Tahoma", 9));
  bar->setMovable(false);
  add(bar, {"printAction", u"tb_stampa", u"Stampa", u"Stampa il documento."},
      [this] { gui::print(this, doc_, PrintTarget::PrintDialog); });
  bar->addSeparator();
  previous_[0] = add(bar, {"firstPageAction", u"tb_primo", u"Prima", u"Mostra la prima pagina.", {Qt::Key_Home}},
                     [this] { goTo(1); });
  previous_[1] = add(bar,
                     {"previousPageAction", u"tb_indietro", u"Precedente", u"Mostra la pagina precedente.",
                      {Qt::Key_PageUp}},
                     [this] { goTo(view_->currentPage() - 1); });
  page_ = new QLabel(bar);
  page_->setObjectName(u"lblPagina"_qs);
  page_->setFont(windowFont("Tahoma", 9, true));
  page_->setAlignment(Qt::AlignCenter);
  page_->setMinimumWidth(110);
  bar->addWidget(page_);
  next_[0] = add(bar,
                 {"nextPageAction", u"tb_avanti", u"Successiva", u"Mostra la pagina successiva.",
                  {Qt::Key_PageDown}},
                 [this] { goTo(view_->currentPage() + 1); });
  next_[1] = add(bar, {"lastPageAction", u"tb_ultimo", u"Ultima", u"Mostra l'ultima pagina.", {Qt::Key_End}},
                 [this] { goTo(view_->pageCount()); });
  bar->addSeparator();
  add(bar, {"fitWidthAction", u"tb_adatta_larghezza", u"Adatta alla larghezza",
            u"Mostra la pagina larga quanto la finestra."},
      [this] { view_->fitToWidth(); });
  add(bar, {"fitPageAction", u"tb_pagina_intera", u"Pagina intera", u"Mostra la pagina intera."},
      [this] { view_->fitInView(); });
  add(bar,
      {"zoomInAction", u"tb_ingrandisci", u"Ingrandisci", u"Ingrandisce la pagina.",
       {Qt::Key_Plus, QKeySequence::ZoomIn}},
      [this] { view_->zoomIn(); });
  add(bar,
      {"zoomOutAction", u"tb_riduci", u"Riduci", u"Riduce la pagina.", {Qt::Key_Minus, QKeySequence::ZoomOut}},
      [this] { view_->zoomOut(); });
  bar->addSeparator();
  fullScreen_ = add(bar, {"fullScreenAction", u"tb_schermo_intero", u"Schermo intero",
                          u"Mostra l'anteprima a tutto schermo, o torna alla finestra."},
                    [this] { fullScreen_->isChecked() ? showFullScreen() : showNormal(); });
  fullScreen_->setCheckable(true);
  add(bar, {"closeAction", u"tb_chiudi", u"Chiudi", u"Chiude l'anteprima.", {Qt::Key_Escape}},
      [this] { close(); });
  return bar;
}

void PreviewWindow::goTo(int page) {
  if (view_->pageCount() < 1) return;
  view_->setCurrentPage(std::clamp(page, 1, view_->pageCount()));
  followView();
}

// The page label and the page buttons follow the view, however it moved.
void PreviewWindow::followView() {
  const int page = view_->currentPage(), pages = view_->pageCount();
  page_->setText(u"Pagina %1 di %2"_qs.arg(page).arg(pages));
  for (QAction* a : previous_) a->setEnabled(page > 1);
  for (QAction* a : next_) a->setEnabled(page < pages);
}

}  // namespace

bool showPreview(QWidget* owner, QPrinter& printer, report::PrintDocument& doc) {
  PreviewWindow window(printer, doc, owner);
  window.showModal();
  return !window.cancelled();
}

}  // namespace fondaro::gui
