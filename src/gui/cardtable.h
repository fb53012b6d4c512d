// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An editor's card declared as data: one row per control, in the order of the
// card. The rows build the sections, and give the Enter chain, the Tab order,
// the typing rules and the info-bar sentences, so adding a field to a card is
// one row at its place:
//
//   constexpr card::Row kRows[] = {
//     {.name = "txtCausale", .caption = u"Causale:", .section = 0},
//     {.name = "txtPreavviso", .caption = u"Avvisa n.", .section = 0, .beside = true, .width = 64,
//      .keys = Keys::Digits, .maxLength = 3},
//     {.name = "txtPagatore", .caption = u"Pagatore:", .section = 1,
//      .button = {"impPagatore", u"ico_importa", u"Importa il pagatore"}, .buttonHover = u"Importa..."},
//   };
//
// - Enter moves from a text box to the next text box of the table (the last
//   goes back to the first); a box with `.enter = false` handles Enter itself.
//   Option buttons and check boxes are left out of the Enter chain.
// - Tab goes along the rows, then along the rows' small buttons, then along the
//   toolbar.
// - Every text box has its yellow focus frame.
#include <QString>
#include <QStringView>
#include <span>
#include <vector>

#include "gui/fields.h"

class QFrame;
class QLabel;
class QWidget;

namespace fondaro::gui::card {

// What a row's control is.
enum class Box {
  Text,      // a one-line text box
  Date,      // a read-only date box, centred, 150 wide
  Province,  // an editable drop-down of the province codes
  Option,    // an option button with its own text
  Check,     // a check box with its own text
};

// Where a section puts a caption: in a caption column to the left of each
// line (the section shows its title), or above each box (the title is only
// the section's accessible name).
enum class Captions { Beside, Above };

// The small picture button after a box (clear, import, check, e-mail).
struct FieldButton {
  const char* name = nullptr;
  QStringView art;
  QStringView what;  // its accessible name and tooltip
};

struct Row {
  const char* name;
  QStringView caption = {};  // shown beside or above the box; may be empty
  int section = 0;           // index of the editor's section; -1: the editor builds the control itself
  bool beside = false;       // on the line of the row before it
  Box box = Box::Text;
  QStringView text = {};     // an option's or check box's own text; a box's accessible name
  const char* panel = nullptr;  // options of one line stand together on a panel of this name
  int width = 0;             // a fixed width; 0 lets the box stretch
  int stretch = 1;           // its share of a line's free width when it stretches
  Keys keys = Keys::Free;
  Typing typing = Typing::AsIs;
  int maxLength = 0;         // typing limit below the field's capacity (see fields.h)
  bool enter = true;         // Enter follows the chain (false: the box handles Enter)
  bool tabMoves = true;
  FieldButton button = {};
  QStringView note = {};     // a short text after the box ("giorni prima della scadenza.")
  QStringView hover = {};    // the info-bar sentence of the control
  QStringView buttonHover = {};
};

struct SectionPlan {
  const char* name;  // "shpSezione1"
  QStringView title;
  Captions captions = Captions::Beside;
  QStringView background = u"white";
};

// A toolbar's picture button, or with no art the position label lblPosizione.
struct Tool {
  const char* name;
  QStringView art = {};
  QStringView caption = {};
  QStringView hover = {};
  bool beside = false;  // the caption beside the picture rather than under it
};

struct ToolGroup {
  const char* name;  // "shpGruppo1"
  std::span<const Tool> tools;
  Qt::Orientation orientation = Qt::Horizontal;
};

// Builds the controls of `rows` into new section frames inside `container`,
// in the order of `sections`; the caller places the frames.
std::vector<QFrame*> buildSections(QWidget* container, std::span<const SectionPlan> sections,
                                   std::span<const Row> rows);
// A toolbar group of picture buttons, in a row or a column.
QFrame* buildGroup(QWidget* container, const ToolGroup& group);

// The Enter chain, the typing rules and focus frames, the Tab order (rows, their
// buttons, then the groups' tools) and the info-bar sentences of a card.
void declareCard(QWidget* window, QLabel* panInfo, std::span<const Row> rows,
                 std::span<const ToolGroup> groups);

}  // namespace fondaro::gui::card
