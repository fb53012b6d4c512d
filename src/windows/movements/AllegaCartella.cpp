#include "movements/AllegaCartella.h"

#include <QFileInfo>
#include <cerrno>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "WindowSet.h"
#include "clients/Clienti.h"
#include "core/attachments.h"
#include "core/field.h"
#include "core/filepath.h"
#include "core/replacefile.h"
#include "core/notice.h"
#include "gui/application.h"
#include "gui/cardform.h"
#include "gui/messages.h"
#include "gui/openurl.h"
#include "gui/programfolder.h"
#include "gui/widgets.h"
#include "movements/Movimenti.h"

namespace fondaro {

namespace {

const char kDialogTitle[] = "Selezionare il file da allegare:";
const char kDialogFilter[] = "Tutti i file (*.*)";
const char kOverwrite[] =
    "Attenzione: nella cartella dei documenti allegati \xC3\xA8 presente un file con lo stesso nome.\r\n\r\n"
    "Si vuole sovrascrivere il file esistente?";
const char kNotCopied[] =
    "Attenzione: non \xC3\xA8 stato possibile copiare il file nella cartella dei documenti allegati.";
const char kCheckRights[] =
    "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma.";
const char kBadName[] =
    "Attenzione: il nome del file allegato non \xC3\xA8 valido: non pu\xC3\xB2 contenere barre (/ o \\) "
    "n\xC3\xA9 caratteri di controllo e non pu\xC3\xB2 essere \"..\".";
const char kNotStorable[] =
    "Attenzione: il nome del file non può essere conservato nella scheda: contiene caratteri fuori "
    "dall'alfabeto latino (sono ammesse le lettere accentate) oppure supera i 250 caratteri.\r\n\r\n"
    "Rinominare il file e allegarlo di nuovo.";
const char kNotOpened[] = "Il file non viene aperto.";
const char kNotAttached[] = "Il file non \xC3\xA8 stato allegato.";

QLabel* caption(QWidget* parent, const QString& name, const QString& text, const QRect& at) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  l->setFont(gui::windowFont("Verdana", 10, true));
  l->setGeometry(at);
  return l;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& text, const QRect& at) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  b->setFont(gui::windowFont("Verdana", 10));
  b->setGeometry(at);
  return b;
}

QString paragraphs(const char* first, const char* second) {
  return QString::fromUtf8(first) + kParagraphBreak + QString::fromUtf8(second);
}

}  // namespace

TfrmAllegaCartella::TfrmAllegaCartella(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmAllegaCartella"_qs);
  setWindowTitle(u" Allega file"_qs);
  gui::makeMemoryLabel(this);
  setFixedSize(634, 534);
  setGradientBackground(true);

  using Slot = void (TfrmAllegaCartella::*)();
  const Slot sfoglia[] = {&TfrmAllegaCartella::btnSfoglia01Click, &TfrmAllegaCartella::btnSfoglia02Click,
                          &TfrmAllegaCartella::btnSfoglia03Click};
  const Slot apri[] = {&TfrmAllegaCartella::btnApri01Click, &TfrmAllegaCartella::btnApri02Click,
                       &TfrmAllegaCartella::btnApri03Click};
  const Slot cancella[] = {&TfrmAllegaCartella::imgCancella01Click, &TfrmAllegaCartella::imgCancella02Click,
                           &TfrmAllegaCartella::imgCancella03Click};
  for (int i = 0; i < 3; ++i) {
    const QString n = u"0%1"_qs.arg(i + 1);
    const int y = 20 + i * 148;
    auto* box = new QFrame(this);
    box->setObjectName(u"shpAllegato"_qs + n);
    box->setStyleSheet(u"#shpAllegato%1 { background: rgba(255,255,255,170); border: 1px solid #9DB3D6;"
                       " border-radius: 10px; }"_qs.arg(n));
    box->setGeometry(12, y - 8, 610, 136);
    QLabel* titFile =
        caption(this, u"titFile"_qs + n, u"Nome %1\u00B0 file allegato:"_qs.arg(i + 1), QRect(24, y, 400, 22));
    txtFile[i] = new QLineEdit(this);
    txtFile[i]->setObjectName(u"txtFile"_qs + n);
    txtFile[i]->setReadOnly(true);
    txtFile[i]->setFont(gui::windowFont("Verdana", 10, true));
    txtFile[i]->setGeometry(24, y + 24, 330, 30);
    btnSfoglia[i] = button(this, u"btnSfoglia"_qs + n, u"Sfoglia..."_qs, QRect(362, y + 24, 104, 30));
    btnApri[i] = button(this, u"btnApri"_qs + n, u"Apri"_qs, QRect(472, y + 24, 96, 30));
    btnApri[i]->setEnabled(false);
    imgCancella[i] = gui::card::fieldButton(this, qPrintable(u"imgCancella"_qs + n), u"ico_cancella",
                                            u"Cancella il nome del file allegato");
    imgCancella[i]->move(574, y + 39 - imgCancella[i]->height() / 2);
    QLabel* titDesc = caption(this, u"titDesc"_qs + n, u"Descrizione %1\u00B0 file allegato:"_qs.arg(i + 1),
                              QRect(24, y + 62, 400, 22));
    txtDesc[i] = new QLineEdit(this);
    txtDesc[i]->setObjectName(u"txtDesc"_qs + n);
    txtDesc[i]->setFont(gui::windowFont("Verdana", 12, true));
    txtDesc[i]->setMaxLength(32767);
    txtDesc[i]->setGeometry(24, y + 86, 578, 32);
    titFile->setBuddy(txtFile[i]);
    titDesc->setBuddy(txtDesc[i]);

    connect(txtFile[i], &QLineEdit::textChanged, this, [this, i] { nameChanged(i); });
    connect(btnSfoglia[i], &QPushButton::clicked, this, sfoglia[i]);
    connect(btnApri[i], &QPushButton::clicked, this, apri[i]);
    connect(imgCancella[i], &QToolButton::clicked, this, cancella[i]);
  }

  btnApplica = button(this, u"btnApplica"_qs, u"Applica e chiudi"_qs, QRect(330, 478, 164, 36));
  btnApplica->setFont(gui::windowFont("Verdana", 10, true));
  btnAnnulla = button(this, u"btnAnnulla"_qs, u"Annulla"_qs, QRect(502, 478, 116, 36));

  QWidget* order[] = {txtFile[0], btnSfoglia[0], btnApri[0], imgCancella[0], txtDesc[0],
                      txtFile[1], btnSfoglia[1], btnApri[1], imgCancella[1], txtDesc[1],
                      txtFile[2], btnSfoglia[2], btnApri[2], imgCancella[2], txtDesc[2],
                      btnApplica, btnAnnulla};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  connect(btnApplica, &QPushButton::clicked, this, &TfrmAllegaCartella::btnApplicaClick);
  connect(btnAnnulla, &QPushButton::clicked, this, &TfrmAllegaCartella::btnAnnullaClick);
}

void TfrmAllegaCartella::nameChanged(int row) {
  btnApri[row]->setEnabled(!trimmedText(txtFile[row]->text()).isEmpty());
}

// Copies a chosen file into the attachments folder under its own name. A
// cancelled dialog ends the step; a failure is reported and the row keeps the
// name it had; a file chosen inside the folder itself is already in place.
void TfrmAllegaCartella::attach(int row) {
  const QString chosen = gui::openFileName(this, QString::fromUtf8(kDialogTitle), QString(),
                                           QString::fromUtf8(kDialogFilter));
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
                QString::fromUtf8(kNotCopied) + kParagraphBreak +
                    (rights ? QString::fromUtf8(kCheckRights) : why.italian()));
  };
  if (!makeFolders(encodePath(folder))) return failed({WriteFailure::Kind::System, errno});
  if (pathExists(encodePath(target)) && !gui::question(this, QString::fromUtf8(kOverwrite))) return;
  WriteFailure why;
  if (!copyReplacing(chosen, target, &why)) return failed(why);
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

// The six texts go into the labels of the same names in the editor that
// lblMemory names; with any other word nothing is written and the window stays.
void TfrmAllegaCartella::btnApplicaClick() {
  const QString mode = gui::memoryMode(this);
  QWidget* editor = nullptr;
  if (mode == gui::mode::Clienti) editor = windowSet().frmClienti;
  else if (mode == gui::mode::Movimenti) editor = windowSet().frmMovimenti;
  else return;
  if (editor) {
    for (int i = 0; i < 3; ++i) {
      const QString n = u"0%1"_qs.arg(i + 1);
      if (auto* l = editor->findChild<QLabel*>(u"lblFile"_qs + n)) l->setText(trimmedText(txtFile[i]->text()));
      if (auto* l = editor->findChild<QLabel*>(u"lblDesc"_qs + n)) l->setText(trimmedText(txtDesc[i]->text()));
    }
  }
  close();
}

void TfrmAllegaCartella::btnAnnullaClick() { close(); }

}  // namespace fondaro
