// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small controls the windows share: pictures that act as buttons, text links,
// plain pictures, and the program's artwork.
#include <QLabel>
#include <QPixmap>
#include <QStringView>
#include <QToolButton>

class QPushButton;

namespace fondaro::gui {

// A picture from the program's artwork by name ("logo", "ico_guida"...), drawn
// for the screen: the double-size drawing on a high-density screen.
QPixmap art(const QString& name);
// The same picture `height` pixels high on screen, sharp at the screen's density.
QPixmap art(const QString& name, int height);
// A picture's size on screen (its pixels over its density).
QSize shownSize(const QPixmap& picture);

// A picture that acts as a button ("img", "ico", "imp", "btn" picture buttons):
// a click, Space or Enter when focused. `name` is its accessible name and tooltip.
class PictureButton : public QToolButton {
  Q_OBJECT
 public:
  PictureButton(const QString& objectName, const QPixmap& picture, const QString& name,
                QWidget* parent);
};

// A label at a fixed place of a fixed-size window ("lblFile", "titAnno").
QLabel* placedLabel(QWidget* parent, const char* name, QStringView text, const QFont& font,
                    const QRect& at, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
// A push button at a fixed place ("btnApplica"), in `font`.
QPushButton* placedButton(QWidget* parent, const char* name, QStringView text, const QFont& font,
                          const QRect& at);
// The panel that holds a window's controls ("panContainer", "shpAllegato1"):
// white, a little see-through, with rounded corners.
void setPanelStyle(QWidget* panel, int opacity = 215, int radius = 24);
// A label's text colour, as "#12356B".
void setTextColour(QWidget* label, QStringView colour);
// A label and a push button that a layout places ("lblRigo05", "btnChiudi").
QLabel* layoutLabel(QWidget* parent, const char* name, QStringView text, const QFont& font);
QPushButton* layoutButton(QWidget* parent, const char* name, QStringView text, int minimumWidth);

// A plain picture ("imgLogo").
QLabel* makePicture(const QString& objectName, const QPixmap& picture, const QString& name,
                    QWidget* parent);

// An underlined text link ("lnkWeb"). Pressing the mouse button on it turns it
// orange, releasing it and clicking it dark blue; a click, Space or Enter emits
// clicked(). Pictures beside it can act as the same link (addPartner).
class Link : public QLabel {
  Q_OBJECT
 public:
  Link(const QString& objectName, const QString& text, QWidget* parent);
  void addPartner(QAbstractButton* picture);

  static QColor pressedColour();  // orange, ARGB FFFFA500
  static QColor clickedColour();  // dark blue, ARGB FF00008B
  QColor colour() const { return colour_; }
  void setColour(const QColor& c);

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  void activate();
  QColor colour_;
};

}  // namespace fondaro::gui
