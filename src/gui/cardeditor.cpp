// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/cardeditor.h"

#include <QLabel>
#include <QVBoxLayout>

#include "core/textrules.h"
#include "gui/controls.h"

namespace fondaro::gui {

namespace {
// "lbl%10%2" would read as the placeholders %10 and %2.
QString labelName(QStringView kind, int row) { return u"lbl"_qs + kind.toString() + u"0%1"_qs.arg(row + 1); }
}  // namespace

CardEditor::CardEditor(QWidget* owner, const EditorNotices& notices)
    : Form(owner, Kind::Work), notices_(notices) {}

AttachmentTexts CardEditor::attachments() const {
  AttachmentTexts a;
  for (int i = 0; i < 3; ++i) {
    a.file[i] = trimmedText(controlText(requireControl(this, labelName(u"File", i))));
    a.desc[i] = trimmedText(controlText(requireControl(this, labelName(u"Desc", i))));
  }
  return a;
}

void CardEditor::setAttachments(const AttachmentTexts& a) {
  for (int i = 0; i < 3; ++i) {
    setControlText(requireControl(this, labelName(u"File", i)), trimmedText(a.file[i]));
    setControlText(requireControl(this, labelName(u"Desc", i)), trimmedText(a.desc[i]));
  }
}

qint64 CardEditor::position() const {
  const QString t = trimmedText(lblPosizione->text());
  if (t.isEmpty()) return 0;
  bool ok = false;
  const qint64 p = t.toLongLong(&ok);
  return ok ? p : -1;
}

void CardEditor::setPosition(qint64 p) { lblPosizione->setText(p > 0 ? QString::number(p) : QString()); }

QVBoxLayout* CardEditor::makeCard(int width, int height) {
  auto* v = new QVBoxLayout(makeContainer(width, height));
  v->setContentsMargins(14, 12, 14, 12);
  v->setSpacing(10);
  return v;
}

QString CardEditor::fieldText(QStringView control) const {
  return trimmedText(controlText(requireControl(this, control)));
}

// ---- Browsing ---------------------------------------------------------------

void CardEditor::cmdPrimoClick() { browse(Move::First); }
void CardEditor::cmdIndietroClick() { browse(Move::Previous); }
void CardEditor::cmdAvantiClick() { browse(Move::Next); }
void CardEditor::cmdUltimoClick() { browse(Move::Last); }

// ---- Entering, saving, duplicating ------------------------------------------

void CardEditor::cmdNuovoClick() { ClearCard(); }

// The card on screen is dropped without a question.
void CardEditor::cmdEsciClick() { close(); }

void CardEditor::cmdSalvaClick() {
  beforeSave();
  if (const std::optional<Refusal> r = refusal()) {
    gui::show(this, r->notice);
    requireControl(this, r->focus)->setFocus(Qt::OtherFocusReason);
    return;
  }
  const qint64 p = position();
  saveStep(
      this,
      [&] {
        setPosition(storeCard(p));
        notice(this, Icon::Information, p != 0 ? notices_.savedChanges() : notices_.savedNew());
      },
      [this](qint64 stored) { setPosition(stored); });
}

void CardEditor::cmdDuplicaClick() {
  if (position() == 0) {
    notice(this, Icon::Warning, notices_.duplicateNeedsStoredCard());
    return;
  }
  duplicateOnScreen();
  setPosition(0);
  // Only a test that the archive can be used: nothing is written until Salva.
  const bool usable = archiveStep(
      this,
      [this] {
        probeArchive();
        focusFirstField();
      },
      notices_.duplicateFailure);
  if (usable) notice(this, Icon::Information, notices_.duplicateReady());
}

}  // namespace fondaro::gui
