// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pieces an editor's card is built from, so that every editor looks alike:
// white rounded sections with a title and rows of caption, field and small
// button; toolbar groups of picture buttons from the artwork catalogue; the
// position label; hidden state labels.
//
//   card::Section s(container, "shpSezione2", u"Pagatore");
//   s.row(u"Pagatore:", card::edit(s.frame(), "txtPagatore", u"Pagatore"),
//         card::fieldButton(s.frame(), "impPagatore", u"ico_importa", u"Importa il pagatore"));
//   bar->addWidget(card::group(container, "shpGruppo1", {card::toolButton(container, "cmdNuovo",
//                                                        u"tb_nuovo", u"Nuovo"), ...}));
#include <QString>
#include <QStringView>
#include <initializer_list>
#include <span>

class QCheckBox;
class QFrame;
class QRadioButton;
class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

namespace fondaro::gui {
class PictureButton;
}

namespace fondaro::gui::card {

// A toolbar button: a 32-pixel picture from the artwork with its caption under
// it, or beside it when `beside`.
PictureButton* toolButton(QWidget* parent, const char* name, QStringView art, QStringView caption,
                          bool beside = false);
// The small picture button beside a field (clear, import, check, e-mail).
PictureButton* fieldButton(QWidget* parent, const char* name, QStringView art, QStringView what);
// A white rounded toolbar group holding `items`, laid out in a row.
QFrame* group(QWidget* parent, const char* name, std::initializer_list<QWidget*> items);
// The same in a row or, a column of buttons as wide as the group.
QFrame* group(QWidget* parent, const char* name, std::span<QWidget* const> items, Qt::Orientation orientation);

// A card field: Verdana 12 bold, one line.
QLineEdit* edit(QWidget* parent, const char* name, QStringView accessibleName);
// An option button or a check box of the card: Verdana 11 bold.
QRadioButton* option(QWidget* parent, const char* name, QStringView text);
QCheckBox* check(QWidget* parent, const char* name, QStringView text);
// Chooses or un-chooses an option button; un-choosing needs the group's
// exclusivity out of the way for a moment.
void setOption(QRadioButton* button, bool on);
// A field caption, right-aligned, with its buddy.
QLabel* caption(QWidget* parent, QStringView text, QWidget* buddy = nullptr);
// The position label of the navigation group.
QLabel* positionLabel(QWidget* parent);
// A label that holds state and is never shown (lblFile, lblFile01...).
QLabel* hiddenLabel(QWidget* parent, QStringView name);
// A section's or group's look: rounded, with a thin blue-grey border, on
// `background`.
void setRoundedStyle(QFrame* frame, QStringView background = u"white");
// A named decorative shape.
QFrame* shape(QWidget* parent, const char* name);

// A section of the card: a white rounded frame with its title and a grid of
// rows. The caption column has one width in every section.
class Section {
 public:
  Section(QWidget* parent, const char* name, QStringView title);
  QFrame* frame() const { return frame_; }
  QGridLayout* grid() const { return grid_; }
  // Caption, field, and an optional button after it; returns the caption.
  QLabel* row(QStringView captionText, QWidget* field, QWidget* button = nullptr);
  // Caption and a row of its own layout (several controls on one line).
  QLabel* row(QStringView captionText, QWidget* buddy, std::initializer_list<QWidget*> line);
  QLabel* row(QStringView captionText, QWidget* buddy, std::span<QWidget* const> line);
  int rows() const { return rows_; }

 private:
  QFrame* frame_;
  QGridLayout* grid_;
  int rows_ = 0;
};

inline constexpr int kToolIcon = 32;
inline constexpr int kFieldIcon = 20;
inline constexpr int kCaptionColumn = 158;

}  // namespace fondaro::gui::card
