// SPDX-License-Identifier: GPL-3.0-or-later
// The information window shows the program folder in use, a name that is not
// UTF-8 included. How the folder is chosen and prepared is tested in
// tests/core/test_programfolder.cpp.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include "app/Info.h"
#include "core/filepath.h"
#include "gui/programfolder.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::gui;

class TestProgramFolder : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> dir;
  QByteArray base;  // the scratch folder, with its '/'

  QByteArray at(const char* name) const { return base + name; }

 private slots:
  void initTestCase() { testsupport::prepareTestApplication(); }
  void init() {
    dir = std::make_unique<QTemporaryDir>();
    base = QFile::encodeName(dir->path()) + '/';
  }
  void cleanup() {
    setProgramFolder(QByteArray());
    dir.reset();
  }

  void theInformationWindowShowsTheFolder() {
    const QByteArray folder = at("Attivit\xe0 2024/");  // a Latin-1 name, shown as such
    QDir().mkpath(QString::fromUtf8(base));
    setProgramFolder(folder);
    TfrmInfo info;
    auto* label = info.findChild<QLabel*>(u"lblCartella"_qs);
    QVERIFY(label);
    QCOMPARE(label->text(), u"Cartella dei dati: "_qs + QString::fromUtf8(base) + u"Attività 2024/"_qs);
    info.show();
    QVERIFY(QTest::qWaitForWindowExposed(&info));
    const QRect shown = label->geometry();
    QVERIFY2(info.rect().contains(shown), "the folder's label does not fit in the window");
    QDir().mkpath(testsupport::artifacts());
    info.grab().save(testsupport::artifacts() + u"/informazioni-cartella.png"_qs);
  }
};

QTEST_MAIN(TestProgramFolder)
#include "test_programfolder.moc"
