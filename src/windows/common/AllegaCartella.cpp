// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/AllegaCartella.h"

#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cerrno>

#include "common/TextsAllegati.h"
#include "core/field.h"
#include "core/filepath.h"
#include "core/notice.h"
#include "core/replacefile.h"
#include "gui/application.h"
#include "gui/cardeditor.h"
#include "gui/cardform.h"
#include "gui/controls.h"
#include "gui/messages.h"
#include "gui/openurl.h"
#include "gui/programfolder.h"
#include "gui/progress.h"
#include "gui/widgets.h"

namespace fondaro {

using namespace attachmentTexts;

namespace {

QString paragraphs(QStringView first, QStringView second) {
  return first.toString() + kParagraphBreak + second.toString();
}

QByteArray rowName(const char* kind, int row) { return kind + QByteArray("0") + QByteArray::number(row + 1); }

}  // namespace

TfrmAllegaCartella::TfrmAllegaCartella(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmAllegaCartella"_qs);
  setWindowTitle(kCaption.toString());
  setFixedSize(634, 534);
  setGradientBackground(true);

  for (int i = 0; i < 3; ++i) addRow(i);
  btnApplica = gui::placedButton(this, "btnApplica", kApply, gui::windowFont("Verdana", 10, true),
                                 QRect(330, 478, 164, 36));
  btnAnnulla = gui::placedButton(this, "btnAnnulla", kCancel, gui::windowFont("Verdana", 10),
                                 QRect(502, 478, 116, 36));

  // The clear buttons are clicked, never tabbed to: the order goes from "Apri"
  // to the row's description.
  gui::setTabChain(this, {u"txtFile01", u"btnSfoglia01", u"btnApri01", u"txtDesc01", u"txtFile02",
                          u"btnSfoglia02", u"btnApri02", u"txtDesc02", u"txtFile03", u"btnSfoglia03",
                          u"btnApri03", u"txtDesc03", u"btnApplica", u"btnAnnulla"});
  gui::connectClickSlots(this);
}

TfrmAllegaCartella::TfrmAllegaCartella(gui::CardEditor& editor) : TfrmAllegaCartella(&editor) {
  editor_ = &editor;
  setAttachments(editor.attachments());
}

void TfrmAllegaCartella::addRow(int i) {
  const int y = 20 + i * 148;
  auto* box = new QFrame(this);
  box->setObjectName(QString::fromLatin1(rowName("shpAllegato", i)));
  box->setStyleSheet(
      u"#%1 { background: rgba(255,255,255,170); border: 1px solid #9DB3D6;"
      " border-radius: 10px; }"_qs.arg(box->objectName()));
  box->setGeometry(12, y - 8, 610, 136);
  const QFont caption = gui::windowFont("Verdana", 10, true);
  const QFont font = gui::windowFont("Verdana", 10);
  QLabel* titFile = gui::placedLabel(this, rowName("titFile", i).constData(), kFileCaptions[i], caption,
                                     QRect(24, y, 400, 22));
  txtFile[i] = new QLineEdit(this);
  txtFile[i]->setObjectName(QString::fromLatin1(rowName("txtFile", i)));
  txtFile[i]->setReadOnly(true);
  txtFile[i]->setFont(caption);
  txtFile[i]->setGeometry(24, y + 24, 330, 30);
  btnSfoglia[i] = gui::placedButton(this, rowName("btnSfoglia", i).constData(), kBrowse, font,
                                    QRect(362, y + 24, 104, 30));
  btnApri[i] =
      gui::placedButton(this, rowName("btnApri", i).constData(), kOpen, font, QRect(472, y + 24, 96, 30));
  btnApri[i]->setEnabled(false);
  imgCancella[i] =
      gui::card::fieldButton(this, rowName("imgCancella", i).constData(), u"ico_cancella", kClear);
  imgCancella[i]->setFocusPolicy(Qt::NoFocus);
  imgCancella[i]->move(574, y + 39 - imgCancella[i]->height() / 2);
  QLabel* titDesc = gui::placedLabel(this, rowName("titDesc", i).constData(), kDescCaptions[i], caption,
                                     QRect(24, y + 62, 400, 22));
  txtDesc[i] = new QLineEdit(this);
  txtDesc[i]->setObjectName(QString::fromLatin1(rowName("txtDesc", i)));
  txtDesc[i]->setFont(gui::windowFont("Verdana", 12, true));
  txtDesc[i]->setMaxLength(32767);
  txtDesc[i]->setGeometry(24, y + 86, 578, 32);
  titFile->setBuddy(txtFile[i]);
  titDesc->setBuddy(txtDesc[i]);
  connect(txtFile[i], &QLineEdit::textChanged, this, [this, i] { nameChanged(i); });
}

// Each box shows its text from the start, as a long name is read.
void TfrmAllegaCartella::setAttachments(const AttachmentTexts& a) {
  for (int i = 0; i < 3; ++i) {
    txtFile[i]->setText(trimmedText(a.file[i]));
    txtFile[i]->setCursorPosition(0);
    txtDesc[i]->setText(trimmedText(a.desc[i]));
    txtDesc[i]->setCursorPosition(0);
  }
}

AttachmentTexts TfrmAllegaCartella::attachments() const {
  AttachmentTexts a;
  for (int i = 0; i < 3; ++i) {
    a.file[i] = trimmedText(txtFile[i]->text());
    a.desc[i] = trimmedText(txtDesc[i]->text());
  }
  return a;
}

void TfrmAllegaCartella::nameChanged(int row) {
  btnApri[row]->setEnabled(!trimmedText(txtFile[row]->text()).isEmpty());
}

// Copies a chosen file into the attachments folder under its own name. A
// cancelled dialog ends the step; a failure is reported and the row keeps the
// name it had; a file chosen inside the folder itself is already in place.
void TfrmAllegaCartella::attach(int row) {
  const QString chosen =
      gui::openFileName(this, kDialogTitle.toString(), QString(), kDialogFilter.toString());
  if (chosen.isEmpty()) return;
  const QString name = trimmedText(QFileInfo(chosen).fileName());
  if (!isSafeAttachmentName(name)) {
    gui::notice(this, gui::Icon::Warning, paragraphs(kBadName, kNotAttached));
    return;
  }
  if (!isStorableAttachmentName(name)) {
    gui::notice(this, gui::Icon::Warning, paragraphs(kNotStorable, kNotAttached));
    return;
  }
  const QString previous = txtFile[row]->text();
  txtFile[row]->setText(name);

  const QString folder = attachmentsFolder(gui::programFolder());
  const QString target = folder + name;
  if (sameFile(encodePath(chosen), encodePath(target))) return;

  // A missing permission gets the usual advice; any other failure says what
  // happened (a full disk, an input/output error).
  const auto failed = [&](const WriteFailure& why) {
    txtFile[row]->setText(previous);
    const bool rights = why.kind == WriteFailure::Kind::System && (why.err == EACCES || why.err == EPERM);
    gui::notice(this, gui::Icon::Warning,
                paragraphs(kNotCopied, rights ? kCheckRights.toString() : why.italian()));
  };
  if (!makeFolders(encodePath(folder))) return failed({WriteFailure::Kind::System, errno});
  if (pathExists(encodePath(target)) && !gui::question(this, kOverwrite.toString())) return;
  WriteFailure why;
  try {
    gui::ProgressDialog progress(this, kCopying.toString());
    if (!copyReplacing(chosen, target, &why, progress.callback())) return failed(why);
  } catch (const Cancelled&) {
    txtFile[row]->setText(previous);  // nothing was attached
  }
}

void TfrmAllegaCartella::open(int row) {
  const QString name = trimmedText(txtFile[row]->text());
  if (!isSafeAttachmentName(name)) {
    gui::notice(this, gui::Icon::Warning, paragraphs(kBadName, kNotOpened));
    return;
  }
  gui::TMisc::Open(u'"' + attachmentsFolder(gui::programFolder()) + name + u'"');
}

void TfrmAllegaCartella::clearName(int row) { txtFile[row]->clear(); }

void TfrmAllegaCartella::btnApplicaClick() {
  if (editor_) editor_->setAttachments(attachments());
  close();
}

void TfrmAllegaCartella::btnAnnullaClick() { close(); }

}  // namespace fondaro
