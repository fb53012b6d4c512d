// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/messages.h"

#include "core/usererror.h"
#include "gui/product.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

namespace fondaro::gui {

namespace {

DialogHook& hook() {
  static DialogHook h;
  return h;
}

// Message texts carry CR LF (or LF CR) line breaks; a label shows plain LF.
QString displayed(QString text) {
  text.replace(u"\r\n"_qs, u"\n"_qs);
  text.replace(u"\n\r"_qs, u"\n"_qs);
  text.replace(u'\r', u'\n');
  return text;
}

QMessageBox::Icon boxIcon(Icon icon) {
  switch (icon) {
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Error: return QMessageBox::Critical;
    case Icon::Information: return QMessageBox::Information;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
  }
  return QMessageBox::NoIcon;
}

Answer runBox(QWidget* parent, DialogKind kind, Icon icon, const QString& text,
              QMessageBox::StandardButtons buttons, QMessageBox::StandardButton byDefault) {
  if (hook()) return hook()({kind, icon, dialogTitle(kind, icon), text, {}, parent}).answer;
  QMessageBox box(boxIcon(icon), dialogTitle(kind, icon), displayed(text), buttons, parent);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(byDefault);
  box.setAccessibleName(dialogTitle(kind, icon));
  box.setAccessibleDescription(displayed(text));
  switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return Answer::Ok;
  }
}

}  // namespace

QString dialogTitle(DialogKind kind, Icon icon) {
  switch (kind) {
    case DialogKind::Question: return u"Conferma"_qs;
    case DialogKind::Message: return kProductName.toString();
    case DialogKind::Notice:
      switch (icon) {
        case Icon::Warning: return u"Attenzione"_qs;
        case Icon::Error: return u"Errore"_qs;
        default: return u"Informazione"_qs;
      }
    default: return kProductName.toString();
  }
}

void notice(QWidget* parent, Icon icon, const QString& text) {
  runBox(parent, DialogKind::Notice, icon, text, QMessageBox::Ok | QMessageBox::Cancel,
         QMessageBox::Ok);
}

bool question(QWidget* parent, const QString& text) {
  return runBox(parent, DialogKind::Question, Icon::Question, text,
                QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == Answer::Yes;
}

void message(QWidget* parent, const QString& text) {
  runBox(parent, DialogKind::Message, Icon::None, text, QMessageBox::Ok, QMessageBox::Ok);
}

std::optional<QString> inputText(QWidget* parent, const QString& title, const QString& label,
                                 const QString& value) {
  if (hook()) {
    const DialogReply r = hook()({DialogKind::InputText, Icon::None, title, label, value, parent});
    if (r.answer == Answer::Cancel || r.answer == Answer::No) return std::nullopt;
    return r.value;
  }
  bool ok = false;
  const QString v = QInputDialog::getText(parent, title, label, QLineEdit::Normal, value, &ok);
  if (!ok) return std::nullopt;
  return v;
}

std::optional<int> inputInt(QWidget* parent, const QString& title, const QString& label,
                            int value, int min, int max) {
  if (hook()) {
    const DialogReply r = hook()(
        {DialogKind::InputInt, Icon::None, title, label, QString::number(value), parent});
    if (r.answer == Answer::Cancel || r.answer == Answer::No) return std::nullopt;
    bool ok = false;
    const int v = r.value.toInt(&ok);
    if (!ok) return value;
    return std::clamp(v, min, max);
  }
  bool ok = false;
  const int v = QInputDialog::getInt(parent, title, label, value, min, max, 1, &ok);
  if (!ok) return std::nullopt;
  return v;
}

QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                     const QString& filter) {
  if (hook()) {
    const DialogReply r =
        hook()({DialogKind::OpenFile, Icon::None, caption, filter, folder, parent});
    return (r.answer == Answer::Cancel || r.answer == Answer::No) ? QString() : r.value;
  }
  // A filter "... (*.*)" means every file, as it always has for this program;
  // here "*.*" would hide the names without a dot ("LEGGIMI"), so the dialog
  // matches "*" and shows the caption as written.
  QString patterns = filter;
  QFileDialog::Options options;
  if (filter.endsWith(u"(*.*)")) {
    patterns += u" (*)"_qs;
    options |= QFileDialog::HideNameFilterDetails;
  }
  return QFileDialog::getOpenFileName(parent, caption, folder, patterns, nullptr, options);
}

QStringList openFileNames(QWidget* parent, const QString& caption, const QString& folder,
                          const QString& filter) {
  if (hook()) {
    const DialogReply r =
        hook()({DialogKind::OpenFile, Icon::None, caption, filter, folder, parent});
    if (r.answer == Answer::Cancel || r.answer == Answer::No) return {};
    return r.value.split(u'\n', Qt::SkipEmptyParts);
  }
  return QFileDialog::getOpenFileNames(parent, caption, folder, filter);
}

QString chooseFolder(QWidget* parent, const QString& caption, const QString& folder) {
  if (hook()) {
    const DialogReply r = hook()({DialogKind::ChooseFolder, Icon::None, caption, {}, folder, parent});
    return (r.answer == Answer::Cancel || r.answer == Answer::No) ? QString() : r.value;
  }
  return QFileDialog::getExistingDirectory(parent, caption, folder);
}

void setDialogHook(DialogHook h) { hook() = std::move(h); }

void show(QWidget* parent, const fondaro::UserError& e) { notice(parent, Icon::Warning, e.italian()); }

void show(QWidget* parent, const fondaro::Notice& n) {
  switch (n.kind) {
    case fondaro::NoticeKind::Warning: return notice(parent, Icon::Warning, n.text);
    case fondaro::NoticeKind::Error: return notice(parent, Icon::Error, n.text);
    case fondaro::NoticeKind::Information: return notice(parent, Icon::Information, n.text);
    case fondaro::NoticeKind::Plain: return message(parent, n.text);
  }
}

}  // namespace fondaro::gui
