// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The base of every window. Two kinds:
// - work windows open maximised with the normal title-bar buttons, their content
//   in a container panel "panContainer" centred in the window;
// - dialog windows have a fixed size and no title-bar buttons, and are centred on
//   the screen or on the window that opened them.
// On a screen smaller than the design, both are scaled down to fit (fit.h).
//
// Navigation windows live for the whole run and are shown and hidden in turn
// (switchTo); per-use windows are created by their caller, shown modally and
// disposed of (openPerUse). A window's close handler FormClose decides what is
// shown next; the window is then hidden, never destroyed by closing.
#include <QStringView>
#include <QWidget>
#include <memory>
#include <utility>

class QLabel;
class QScreen;

namespace fondaro::gui {

class Form : public QWidget {
  Q_OBJECT

 public:
  enum class Kind { Work, Dialog };
  enum class Placement { Screen, Owner };

  Form(QWidget* owner, Kind kind, Placement placement = Placement::Screen);
  ~Form() override;

  Kind kind() const { return kind_; }

  // Shows the window as its kind wants and gives it the keyboard.
  void present();
  // Shows the window modally; returns once it is hidden (closed).
  void showModal();

  // The order in which windows were created in this process, from 1.
  int creationOrder() const { return creationOrder_; }

  // Background drawing of the window: a vertical gradient from steel blue at the
  // bottom to white at the top, as most windows have.
  void setGradientBackground(bool on);

 signals:
  void hidden();

 protected:
  // Runs each time the window is shown.
  virtual void FormShow() {}
  // Runs when the window is closed by any means, before it is hidden.
  virtual void FormClose() {}

  // The centred container of a work window, "panContainer", of a fixed size.
  QWidget* makeContainer(int width, int height);
  // Where the screen has room beside the designed size, a window may take up
  // to `spare` more pixels of width; returns how many it took, and lays its
  // controls out for them. 0 gives the designed layout back.
  virtual int widen(int spare) {
    Q_UNUSED(spare);
    return 0;
  }

  bool event(QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  void finishControls();
  void place();
  void fitTo(QScreen* screen);

  Kind kind_;
  Placement placement_;
  int creationOrder_;
  bool finished_ = false;
  bool placed_ = false;
  bool gradient_ = false;
  QSize design_;  // a dialog's designed size
};

// Shows the navigation window `to` and hides `from`.
void switchTo(QWidget* from, Form* to);

// Creates a per-use window owned by `owner`, lets `prepare` fill it, shows it
// modally and disposes of it.
template <class W, class Prepare>
void openPerUse(QWidget* owner, Prepare&& prepare) {
  std::unique_ptr<W> w(new W(owner));
  std::forward<Prepare>(prepare)(*w);
  w->showModal();
}
template <class W>
void openPerUse(QWidget* owner) {
  openPerUse<W>(owner, [](W&) {});
}

}  // namespace fondaro::gui
