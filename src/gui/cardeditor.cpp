#include "gui/cardeditor.h"

#include "core/textrules.h"
#include "gui/controls.h"

namespace fondaro::gui {

namespace {
QString labelName(QStringView kind, int row) { return u"lbl%10%2"_qs.arg(kind).arg(row + 1); }
}  // namespace

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

}  // namespace fondaro::gui
