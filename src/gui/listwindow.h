// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The base of every list window (search results, due list, call-back list,
// journal): a list of text lines built once by the core, shown in a
// fixed-pitch font with horizontal scrolling, with the list find ("Trova"), an
// optional count label, a double-click callback and the printout. On a screen
// wide enough the list widens until its lines show whole; where the list cannot
// widen enough, its lines take a smaller font (not below 9 points) until they
// fit, and scroll only below that.
//
// The list is a QListView over a model of the lines, not a widget item per
// line, so that a hundred thousand lines show at once. Lines come presorted
// from the core.
#include <QListView>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "gui/form.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace fondaro {
class ListFind;
}

namespace fondaro::gui {

// A list of text lines, one a row: "Courier New" 12, every row 1600 wide so a
// whole line can be scrolled into view, both scroll bars shown.
//
// The lines are drawn in lineFont(): the list's own font (the described one,
// or as a small window's scaling made it) where the longest line a list can
// have fits the list's width, else the largest smaller size at which it fits,
// down to kSmallestLinePoints. The list's own font stays as it is, so that the
// widening and the scaling of windows keep reckoning from it.
inline constexpr qreal kSmallestLinePoints = 9.0;

class LineList : public QListView {
  Q_OBJECT
 public:
  LineList(const QString& objectName, QWidget* parent);
  ~LineList() override;

  void setLines(QStringList lines);
  const QStringList& lines() const;
  int count() const { return int(lines().size()); }
  void clear() { setLines({}); }

  // The most characters a line of this list can have; 0: not known (the lines
  // then keep the list's font).
  void setLongestLine(int characters);
  QFont lineFont() const;

  // The selected row, or -1.
  int selectedRow() const;
  void selectRow(int row);
  QString selectedText() const;

 signals:
  // A row double-clicked (or Enter pressed on it).
  void lineChosen(int row);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void changeEvent(QEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void fitLines();

  class Model;
  Model* model_;
  int longestLine_ = 0;
};

// The instruction lines of a list with a find and of a list whose lines open a card.
inline constexpr QStringView kFindHint1 =
    u"Immettere una o più parole consecutive presenti nella scheda in elenco da cercare e premere il "
    u"pulsante Trova.";
inline constexpr QStringView kFindHint2 =
    u"Per spostarsi sulla voce successiva contenente la stessa chiave di ricerca, fare di nuovo clic su Trova.";
inline constexpr QStringView kChooseHint = u"Per richiamare i dati di una scheda, selezionarla con un doppio clic.";

// A fixed label of a list window.
QLabel* makeListLabel(QWidget* parent, const char* name, QStringView text, const QRect& at, int points = 10,
                      bool bold = false);

// A button along the bottom of a list window's panel (y 508, 110 x 34).
QPushButton* makeListButton(QWidget* panel, const QString& name, const QString& text, int x);

// The message of a list find on an empty list.
QString emptyListMessage();

// The printout of a list: the list report ("Riepilogo dati", or the journal's
// "Primanota") with its title and the lines in order, printed on the default
// printer without a preview. Returns true when printed; on failure the
// message was shown.
enum class ListPrintout { Riepilogo, Primanota };
bool printList(QWidget* parent, ListPrintout kind, const QString& title, const QStringList& lines);

class ListWindow : public Form {
  Q_OBJECT
 public:
  ListWindow(QWidget* owner, Kind kind, Placement placement = Placement::Screen);
  ~ListWindow() override;

  LineList* list() const { return lstRecords; }

 public slots:
  // The list find with the text of txtTrova.
  void btnTrovaClick();
  // The list printout with the window's print title.
  void btnStampaClick();
  void btnChiudiClick();

 protected:
  // The find key field and its button on `parent`.
  void makeFind(QWidget* parent, const QRect& field, const QRect& button);
  // The list "lstRecords" on `parent`; a double click calls lineChosen.
  LineList* makeList(QWidget* parent, const QRect& at);
  // The result panel "panContainer" (862 x 560) every list window shares: the
  // three instruction lines, the find, the list at `listAt`, "Stampa" and
  // "Chiudi" along the bottom.
  QWidget* makeResultPanel(const QRect& listAt);
  // The title of the list printout ("Riepilogo dati").
  void setPrintTitle(const QString& title) { printTitle_ = title; }
  // A label that shows sentence(number of lines) each time the lines change.
  void setCountLabel(QLabel* label, std::function<QString(int)> sentence);

  // Shows new lines (the selection and the count follow).
  void showLines(QStringList lines);
  // Empties the last find key and txtTrova, as each showing of a list does.
  void resetFind();
  // A double-clicked row.
  virtual void lineChosen(int row) { Q_UNUSED(row); }

  // On a wide screen the list widens until its longest line shows whole, and
  // the controls around it follow: stretched with it, moved with its right
  // edge, or kept centred over it.
  enum class Follow { Stretch, Move, Centre };
  void followList(QWidget* control, Follow how);
  // The most characters a line of this list can have; 0: no limit (the list
  // then takes the screen's whole width and its lines keep their font).
  void setLongestLine(int characters);
  int widen(int spare) override;

  QLineEdit* txtTrova = nullptr;
  QPushButton* btnTrova = nullptr;
  LineList* lstRecords = nullptr;

 private:
  struct Follower {
    QWidget* control;
    Follow how;
    QRect design;
  };
  std::vector<Follower> followers_;
  int longestLine_ = 0;
  int extra_ = 0;
  std::unique_ptr<ListFind> find_;
  QLabel* countLabel_ = nullptr;
  QString printTitle_;
  std::function<QString(int)> countSentence_;
};

}  // namespace fondaro::gui
