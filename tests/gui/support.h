// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every window test starts from: the Italian application as the program
// prepares it, the 28 windows built as main() builds them, a scratch program
// folder, and the program's dialogs, shell and end captured.
#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "WindowSet.h"
#include "core/crypt.h"
#include "core/passwordfile.h"
#include "gui/application.h"
#include "gui/programfolder.h"
#include "gui/testing/testing.h"

namespace fondaro::testsupport {

using namespace fondaro::gui::testing;

// Once per test binary, before any window exists.
inline void prepareTestApplication() {
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  fondaro::gui::prepareApplication(*app);
  // The program ends through the kit (captured here), never behind a test's back.
  app->setQuitOnLastWindowClosed(false);
}

struct Program {
  QTemporaryDir dir;
  DialogScript dialogs;
  ShellCapture shell;
  EndCapture ended;
  WindowSet* windows = nullptr;

  Program() {
    gui::setProgramFolder(dir.path());
    windows = &buildWindowSet();
  }
  ~Program() {
    destroyWindowSet();
    gui::setProgramFolder(QString());
  }

  QString folder() const { return gui::programFolder(); }
  QString passwordFile() const { return passwordFilePath(folder()); }

  // A password file holding `plain` as the change window would store it.
  void setPassword(const QString& plain) { writeRaw(Crypt::Scramble(typedPassword(plain))); }
  void writeRaw(const QString& value) {
    QFile f(passwordFile());
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
      f.write("[Accesso]\r\nValore=" + value.toLatin1() + "\r\n");
  }
  QByteArray passwordFileBytes() const {
    QFile f(passwordFile());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
};

// Double-clicks row `row` of a window's list "lstRecords", as a user picks a line.
inline void doubleClickRow(QAbstractItemView* list, int row) {
  const QModelIndex at = list->model()->index(row, 0);
  list->scrollTo(at);
  const QPoint centre = list->visualRect(at).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
}

// The folder where tests leave pictures of the windows for a human look.
inline QString artifacts() {
  const QByteArray a = qgetenv("FONDARO_ARTIFACTS");
  return a.isEmpty() ? QDir::tempPath() + u"/fondaro-artifacts"_qs : QString::fromLocal8Bit(a);
}

}  // namespace fondaro::testsupport
