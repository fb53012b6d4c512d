// The folder of a started program: which folder the command line, the
// variable and the executable's place choose; how a folder other than the
// executable's is prepared with the shipped files; and the information window,
// which shows the folder in use.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <vector>

#include "app/Info.h"
#include "core/filepath.h"
#include "core/passwordfile.h"
#include "gui/programfolder.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::gui;

namespace {

QByteArray readBytes(const QByteArray& path) {
  QFile f(QString::fromUtf8(path));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeBytes(const QByteArray& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(QString::fromUtf8(path)).path());
  QFile f(QString::fromUtf8(path));
  QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

const QByteArray kFirstPassword = "[Accesso]\r\nValore=primo\r\n";
const QByteArray kManual = "%PDF-1.4 la guida\n";

}  // namespace

class TestProgramFolder : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> dir;
  QByteArray base;  // the scratch folder, with its '/'

  QByteArray at(const char* name) const { return base + name; }

  // A folder that the running user cannot write to: a 0555 folder, or for a
  // user who writes everywhere (root) a folder on a read-only mount, as
  // /proc/sys is in a container. Empty when there is none.
  QByteArray readOnlyFolder() const {
    const QByteArray ro = at("sola-lettura/");
    QDir().mkpath(QString::fromUtf8(ro));
    ::chmod(ro.constData(), 0555);
    for (const QByteArray& folder : {ro, QByteArray("/proc/sys/")})
      if (::access(folder.constData(), W_OK) != 0) return folder;
    return {};
  }

  // The shipped files of a program in `folder`.
  void ship(const QByteArray& folder) {
    writeBytes(joinPath(folder, kPasswordFileName), kFirstPassword);
    writeBytes(joinPath(folder, kManualFileName), kManual);
  }

 private slots:
  void initTestCase() { testsupport::prepareTestApplication(); }
  void init() {
    qunsetenv(kFolderVariable);
    dir = std::make_unique<QTemporaryDir>();
    base = QFile::encodeName(dir->path()) + '/';
    QDir().mkpath(QString::fromUtf8(at("build")));
    QDir().mkpath(QString::fromUtf8(at("usr/bin")));
    QDir().mkpath(QString::fromUtf8(at("usr/share/fondaro")));
    QDir().mkpath(QString::fromUtf8(at("chiavetta/bin")));
  }
  void cleanup() {
    ::chmod(at("sola-lettura").constData(), 0755);
    setProgramFolder(QByteArray());
    qunsetenv(kFolderVariable);
    dir.reset();
  }

  void theSourcesChooseTheFolder_data() {
    QTest::addColumn<QByteArray>("option");
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QByteArray>("executable");  // under the scratch folder unless absolute
    QTest::addColumn<QByteArray>("expected");    // "HOME/..." and "WORK/..." stand for those
    QTest::newRow("a build folder") << QByteArray() << QByteArray() << QByteArray("build/")
                                    << QByteArray("build/");
    QTest::newRow("a copied folder named bin")
        << QByteArray() << QByteArray() << QByteArray("chiavetta/bin/") << QByteArray("chiavetta/bin/");
    QTest::newRow("an installed program")
        << QByteArray() << QByteArray() << QByteArray("usr/bin/") << QByteArray("HOME/Fondaro/");
    QTest::newRow("installed, named without its '/'")
        << QByteArray() << QByteArray() << QByteArray("usr/bin") << QByteArray("HOME/Fondaro/");
    QTest::newRow("a folder the user cannot write to")
        << QByteArray() << QByteArray() << QByteArray("READONLY") << QByteArray("HOME/Fondaro/");
    QTest::newRow("the variable") << QByteArray() << QByteArray("/srv/conti") << QByteArray("build/")
                                  << QByteArray("/srv/conti/");
    QTest::newRow("the variable over an installed program")
        << QByteArray() << QByteArray("/srv/conti/") << QByteArray("usr/bin/") << QByteArray("/srv/conti/");
    QTest::newRow("the option over the variable")
        << QByteArray("/mnt/usb/Fondaro") << QByteArray("/srv/conti") << QByteArray("usr/bin/")
        << QByteArray("/mnt/usb/Fondaro/");
    QTest::newRow("a relative name") << QByteArray("conti 2024") << QByteArray() << QByteArray("usr/bin/")
                                     << QByteArray("WORK/conti 2024/");
    QTest::newRow("a name in the home folder") << QByteArray() << QByteArray("~/Contabilità")
                                               << QByteArray("build/") << QByteArray("HOME/Contabilità/");
    QTest::newRow("Latin-1 bytes kept") << QByteArray("/mnt/vecchia/Attivit\xe0") << QByteArray()
                                        << QByteArray("build/") << QByteArray("/mnt/vecchia/Attivit\xe0/");
  }
  void theSourcesChooseTheFolder() {
    QFETCH(QByteArray, option);
    QFETCH(QByteArray, variable);
    QFETCH(QByteArray, executable);
    QFETCH(QByteArray, expected);
    FolderSources sources;
    sources.option = option;
    sources.variable = variable;
    sources.executable = executable == "READONLY" ? readOnlyFolder() : at(executable.constData());
    if (sources.executable.isEmpty()) QSKIP("no folder here is read-only for this user");
    sources.home = at("casa");
    sources.workingDir = at("lavoro");
    if (expected.startsWith("HOME/")) expected = at("casa/") + expected.mid(5);
    if (expected.startsWith("WORK/")) expected = at("lavoro/") + expected.mid(5);
    if (!expected.startsWith('/')) expected = at(expected.constData());
    QCOMPARE(chooseProgramFolder(sources), expected);
  }

  void theShippedFilesOfAnInstalledProgramAreInShare() {
    QVERIFY(isInstalledLayout(at("usr/bin/")));
    QCOMPARE(shippedFolderPath(at("usr/bin/")), at("usr/share/fondaro/"));
    QVERIFY(!isInstalledLayout(at("chiavetta/bin/")));
    QCOMPARE(shippedFolderPath(at("build")), at("build/"));
  }

  void aNewFolderGetsTheShippedFiles() {
    ship(at("usr/share/fondaro/"));
    const QByteArray folder = at("casa/nuova/Fondaro/");
    QCOMPARE(prepareProgramFolder(folder, at("usr/share/fondaro/")), QString());
    QCOMPARE(readBytes(folder + kPasswordFileName), kFirstPassword);
    QCOMPARE(readBytes(folder + kManualFileName), kManual);
  }

  void theUsersPasswordStaysAndTheManualFollowsTheShippedOne() {
    ship(at("usr/share/fondaro/"));
    const QByteArray folder = at("casa/Fondaro/");
    const QByteArray changed = "[Accesso]\r\nValore=mia\r\n";
    writeBytes(folder + kPasswordFileName, changed);
    writeBytes(folder + kManualFileName, "vecchia guida");
    writeBytes(folder + "2024.eur", "movimenti");
    QCOMPARE(prepareProgramFolder(folder, at("usr/share/fondaro/")), QString());
    QCOMPARE(readBytes(folder + kPasswordFileName), changed);
    QCOMPARE(readBytes(folder + kManualFileName), kManual);
    QCOMPARE(readBytes(folder + "2024.eur"), QByteArray("movimenti"));
  }

  void aLinkInPlaceOfThePasswordFileIsLeftAlone() {
    ship(at("usr/share/fondaro/"));
    const QByteArray folder = at("casa/Fondaro/");
    QDir().mkpath(QString::fromUtf8(folder));
    QCOMPARE(::symlink("/nessun/file", (folder + kPasswordFileName).constData()), 0);
    QCOMPARE(prepareProgramFolder(folder, at("usr/share/fondaro/")), QString());
    QCOMPARE(QFileInfo(QString::fromUtf8(folder + kPasswordFileName)).symLinkTarget(), u"/nessun/file"_qs);
  }

  void theShippedFolderIsNotCopiedOntoItself() {
    ship(at("build/"));
    QCOMPARE(prepareProgramFolder(at("build/"), at("build")), QString());
    QCOMPARE(readBytes(at("build/") + kPasswordFileName), kFirstPassword);
    QCOMPARE(readBytes(at("build/") + kManualFileName), kManual);
  }

  void withNothingShippedTheFolderIsStillMade() {
    const QByteArray folder = at("casa/Fondaro/");
    QCOMPARE(prepareProgramFolder(folder, at("usr/share/fondaro/")), QString());
    QVERIFY(QFileInfo(QString::fromUtf8(folder)).isDir());
    QVERIFY(!QFile::exists(QString::fromUtf8(folder + kPasswordFileName)));
  }

  void aFolderThatCannotBeMadeIsNamed() {
    writeBytes(at("casa"), "un file, non una cartella");
    const QString why = prepareProgramFolder(at("casa/Fondaro/"), at("usr/share/fondaro/"));
    QVERIFY2(why.startsWith(u"Impossibile creare la cartella dei dati di Fondaro:\n"_qs), qPrintable(why));
    QVERIFY2(why.contains(displayPath(at("casa/Fondaro/"))), qPrintable(why));
  }

  void theCommandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QByteArray>("expected");  // a folder under the scratch one; "EXE" for the executable's
    QTest::addColumn<bool>("usage");
    QTest::newRow("nothing") << QStringList() << QByteArray() << QByteArray("EXE") << false;
    QTest::newRow("other arguments") << QStringList{u"-style"_qs, u"fusion"_qs} << QByteArray()
                                     << QByteArray("EXE") << false;
    QTest::newRow("the variable") << QStringList() << QByteArray("variabile") << QByteArray("variabile/")
                                  << false;
    QTest::newRow("--cartella DIR") << QStringList{u"--cartella"_qs, u"opzione"_qs} << QByteArray("variabile")
                                    << QByteArray("opzione/") << false;
    QTest::newRow("--cartella=DIR") << QStringList{u"--cartella=opzione"_qs} << QByteArray()
                                    << QByteArray("opzione/") << false;
    QTest::newRow("--cartella last") << QStringList{u"--cartella"_qs} << QByteArray() << QByteArray() << true;
    QTest::newRow("--cartella=") << QStringList{u"--cartella="_qs} << QByteArray("variabile") << QByteArray()
                                 << true;
    QTest::newRow("an empty DIR after a good one")
        << QStringList{u"--cartella=opzione"_qs, u"--cartella"_qs, QString()} << QByteArray() << QByteArray()
        << true;
  }
  void theCommandLine() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, variable);
    QFETCH(QByteArray, expected);
    QFETCH(bool, usage);
    std::vector<QByteArray> bytes{QByteArray("fondaro")};
    for (const QString& a : args) {
      // Names relative to the scratch folder, as a user types them in it.
      QByteArray b = a.toUtf8();
      if (b.endsWith("opzione")) b.replace("opzione", at("opzione"));
      bytes.push_back(b);
    }
    std::vector<char*> argv;
    for (QByteArray& b : bytes) argv.push_back(b.data());
    argv.push_back(nullptr);
    if (!variable.isEmpty()) qputenv(kFolderVariable, at(variable.constData()));

    const StartFolder start = startProgramFolder(int(bytes.size()), argv.data());
    if (usage) {
      QCOMPARE(QString::fromStdString(start.usage),
               u"fondaro: --cartella vuole il nome di una cartella (--cartella CARTELLA)"_qs);
      return;
    }
    QVERIFY(start.usage.empty());
    QCOMPARE(start.error, QString());
    const QByteArray folder = expected == "EXE" ? executableFolderPath() : at(expected.constData());
    QCOMPARE(start.folder, folder);
    QCOMPARE(programFolderPath(), folder);
    QVERIFY(QFileInfo(QString::fromUtf8(folder)).isDir());
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
