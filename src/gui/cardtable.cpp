// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/cardtable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <map>

#include "core/clientcard.h"
#include "core/textrules.h"
#include "gui/application.h"
#include "gui/cardform.h"
#include "gui/controls.h"
#include "gui/infobar.h"
#include "gui/widgets.h"

namespace fondaro::gui::card {

namespace {

bool isTextBox(Box b) { return b == Box::Text || b == Box::Date || b == Box::Province; }

// Just before a province box takes the focus its list selection goes, so that
// the list opens on no code; the text typed or shown stays.
class ProvinceFocus : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() != QEvent::FocusIn) return false;
    if (auto* box = qobject_cast<QComboBox*>(o)) {
      const QString text = box->currentText();
      const QSignalBlocker quiet(box);
      box->setCurrentIndex(-1);
      box->setEditText(text);
    }
    return false;
  }
};

// An editable province box: the 112 codes, no code chosen, typing free.
QComboBox* provinceBox(QWidget* parent, const char* name, const QString& what) {
  auto* b = new QComboBox(parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setEditable(true);
  b->setInsertPolicy(QComboBox::NoInsert);
  b->setCompleter(nullptr);  // no inline completion: the box shows what was typed
  b->addItems(provinceCodes());
  b->setCurrentIndex(-1);
  b->setMaxVisibleItems(14);
  b->setFont(windowFont("Verdana", 12, true));
  b->lineEdit()->setFont(b->font());  // the style gives the edit part a font of its own
  b->setAccessibleName(what);
  b->lineEdit()->setAccessibleName(what);  // the part that takes the keyboard
  b->setFixedSize(84, 28);
  b->installEventFilter(new ProvinceFocus(b));
  return b;
}

// A box's accessible name: its own, or its caption without the colon.
QString accessibleName(const Row& r) {
  if (!r.text.isEmpty()) return r.text.toString();
  QString c = r.caption.toString().trimmed();
  if (c.endsWith(u':')) c.chop(1);
  return c;
}

QWidget* makeBox(QWidget* parent, const Row& r) {
  switch (r.box) {
    case Box::Option: return option(parent, r.name, r.text);
    case Box::Check: return check(parent, r.name, r.text);
    case Box::Province: return provinceBox(parent, r.name, accessibleName(r));
    case Box::Date: {
      QLineEdit* e = edit(parent, r.name, accessibleName(r));
      e->setReadOnly(true);
      e->setAlignment(Qt::AlignCenter);
      e->setFixedWidth(r.width > 0 ? r.width : 150);
      return e;
    }
    case Box::Text: break;
  }
  QLineEdit* e = edit(parent, r.name, accessibleName(r));
  if (r.width > 0) {
    e->setFixedWidth(r.width);
    e->setAlignment(Qt::AlignCenter);
  }
  return e;
}

QLabel* noteLabel(QWidget* parent, QStringView text) {
  auto* l = new QLabel(text.toString(), parent);
  l->setFont(windowFont("Verdana", 10));
  return l;
}

// A row's box with its button and note, as the widgets of one line.
struct Cell {
  QWidget* box;
  std::vector<QWidget*> after;
};

Cell makeCell(QWidget* parent, const Row& r) {
  Cell c{makeBox(parent, r), {}};
  if (r.button.name) c.after.push_back(fieldButton(parent, r.button.name, r.button.art, r.button.what));
  if (!r.note.isEmpty()) c.after.push_back(noteLabel(parent, r.note));
  return c;
}

// The rows of one section, split into lines.
std::vector<std::vector<const Row*>> linesOf(std::span<const Row> rows, int section) {
  std::vector<std::vector<const Row*>> lines;
  for (const Row& r : rows) {
    if (r.section != section) continue;
    if (!r.beside || lines.empty()) lines.emplace_back();
    lines.back().push_back(&r);
  }
  return lines;
}

// Options sharing a panel name stand together on that panel.
QWidget* optionPanel(QWidget* parent, const char* name, std::map<std::string, QHBoxLayout*>& panels,
                     QWidget* box) {
  auto it = panels.find(name);
  if (it == panels.end()) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    auto* h = new QHBoxLayout(panel);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(22);
    h->addStretch();
    it = panels.emplace(name, h).first;
    it->second->insertWidget(it->second->count() - 1, box);
    return panel;
  }
  it->second->insertWidget(it->second->count() - 1, box);
  return nullptr;
}

// A line in a caption column: the first row's caption to the left, the rest
// of the line's captions before their boxes.
void besideLine(Section& s, const std::vector<const Row*>& line) {
  QWidget* f = s.frame();
  const Row& lead = *line.front();
  if (line.size() == 1 && !lead.panel && lead.note.isEmpty()) {
    const Cell c = makeCell(f, lead);
    s.row(lead.caption, c.box, c.after.empty() ? nullptr : c.after.front());
    return;
  }
  std::map<std::string, QHBoxLayout*> panels;
  std::vector<QWidget*> widgets;
  QWidget* buddy = nullptr;
  for (const Row* r : line) {
    const Cell c = makeCell(f, *r);
    if (!buddy) buddy = c.box;
    else if (!r->caption.isEmpty()) widgets.push_back(caption(f, r->caption, c.box));
    if (!r->panel) widgets.push_back(c.box);
    else if (QWidget* panel = optionPanel(f, r->panel, panels, c.box)) widgets.push_back(panel);
    widgets.insert(widgets.end(), c.after.begin(), c.after.end());
  }
  s.row(lead.caption, buddy, widgets);
}

// A line of boxes, each under its caption.
void aboveLine(QFrame* f, QVBoxLayout* lines, const std::vector<const Row*>& line) {
  auto* h = new QHBoxLayout;
  h->setSpacing(12);
  for (const Row* r : line) {
    Cell c = makeCell(f, *r);
    auto* cell = new QVBoxLayout;
    cell->setSpacing(0);
    QLabel* l = caption(f, r->caption, c.box);
    l->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    cell->addWidget(l);
    auto* boxLine = new QHBoxLayout;
    boxLine->setSpacing(4);
    boxLine->addWidget(c.box, r->width > 0 || !isTextBox(r->box) ? 0 : 1);
    for (QWidget* w : c.after) boxLine->addWidget(w);
    cell->addLayout(boxLine);
    const bool fixed = r->width > 0 || r->box == Box::Province || !isTextBox(r->box);
    h->addLayout(cell, fixed ? 0 : r->stretch);
  }
  lines->addLayout(h);
}

// The captions above the boxes take the room a title would: the section's
// title is its accessible name.
QFrame* aboveSection(QWidget* container, const SectionPlan& plan, std::span<const Row> rows, int index) {
  QFrame* f = shape(container, plan.name);
  setRoundedStyle(f, plan.background);
  f->setAccessibleName(plan.title.toString());
  auto* v = new QVBoxLayout(f);
  v->setContentsMargins(14, 6, 14, 8);
  v->setSpacing(2);
  for (const auto& line : linesOf(rows, index)) aboveLine(f, v, line);
  return f;
}

}  // namespace

std::vector<QFrame*> buildSections(QWidget* container, std::span<const SectionPlan> sections,
                                   std::span<const Row> rows) {
  std::vector<QFrame*> frames;
  for (int i = 0; i < int(sections.size()); ++i) {
    const SectionPlan& plan = sections[size_t(i)];
    if (plan.captions == Captions::Above) {
      frames.push_back(aboveSection(container, plan, rows, i));
      continue;
    }
    Section s(container, plan.name, plan.title);
    for (const auto& line : linesOf(rows, i)) besideLine(s, line);
    frames.push_back(s.frame());
  }
  return frames;
}

QFrame* buildGroup(QWidget* container, const ToolGroup& g) {
  std::vector<QWidget*> items;
  for (const Tool& t : g.tools) {
    if (t.art.isEmpty()) items.push_back(positionLabel(container));
    else items.push_back(toolButton(container, t.name, t.art, t.caption, t.beside));
  }
  return group(container, g.name, items, g.orientation);
}

void declareCard(QWidget* window, QLabel* panInfo, std::span<const Row> rows, std::span<const ToolGroup> groups) {
  std::vector<const Row*> chain;
  for (const Row& r : rows)
    if (isTextBox(r.box)) chain.push_back(&r);
  std::vector<Field> fields;
  for (size_t i = 0; i < chain.size(); ++i) {
    const Row& r = *chain[i];
    fields.push_back({.name = r.name,
                      .enterTo = r.enter ? chain[(i + 1) % chain.size()]->name : nullptr,
                      .keys = r.keys,
                      .typing = r.typing,
                      .maxLength = r.maxLength,
                      .frame = true,
                      .tabMoves = r.tabMoves});
  }
  setFields(window, fields);
  for (const Row* r : chain) {
    if (r->box != Box::Province) continue;
    auto* box = requireControl<QComboBox>(window, QString::fromLatin1(r->name));
    onExit(box, [box] { box->setEditText(typedText(Typing::UpperTrim, box->currentText())); });
  }

  std::vector<QString> order;
  std::vector<Hover> hover;
  for (const Row& r : rows) {
    order.push_back(QString::fromLatin1(r.name));
    if (!r.hover.isEmpty()) hover.emplace_back(r.name, r.hover);
  }
  for (const Row& r : rows) {
    if (!r.button.name) continue;
    order.push_back(QString::fromLatin1(r.button.name));
    if (!r.buttonHover.isEmpty()) hover.emplace_back(r.button.name, r.buttonHover);
  }
  for (const ToolGroup& g : groups) {
    for (const Tool& t : g.tools) {
      if (t.art.isEmpty()) continue;
      order.push_back(QString::fromLatin1(t.name));
      if (!t.hover.isEmpty()) hover.emplace_back(t.name, t.hover);
    }
  }
  for (size_t i = 1; i < order.size(); ++i)
    QWidget::setTabOrder(requireControl(window, order[i - 1]), requireControl(window, order[i]));
  setHoverSentences(panInfo, window, hover);
}

}  // namespace fondaro::gui::card
