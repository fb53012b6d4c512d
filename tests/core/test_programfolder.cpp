// SPDX-License-Identifier: GPL-3.0-or-later
// The folder of a started program: which folder the command line, the
// variable and the executable's place choose, and how a folder other than the
// executable's is prepared with the shipped files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>
#include <regex>
#include <vector>

#include "core/filepath.h"
#include "core/passwordfile.h"
#include "core/programfolder.h"

using namespace fondaro;

namespace {

QByteArray readBytes(const QByteArray& path) {
  QFile f(QString::fromUtf8(path));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeBytes(const QByteArray& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(QString::fromUtf8(path)).path());
  QFile f(QString::fromUtf8(path));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

std::string text(const QByteArray& bytes) { return bytes.toStdString(); }

const QByteArray kFirstPassword = "[Accesso]\r\nValore=primo\r\n";
const QByteArray kManual = "%PDF-1.4 la guida\n";

class ProgramFolder : public ::testing::Test {
 protected:
  std::unique_ptr<QTemporaryDir> dir;
  QByteArray base;  // the scratch folder, with its '/'

  mode_t umaskBefore = 0;

  void SetUp() override {
    // A start that makes new files private changes the process's umask.
    umaskBefore = ::umask(022);
    ::unsetenv(kFolderVariable);
    dir = std::make_unique<QTemporaryDir>();
    base = QFile::encodeName(dir->path()) + '/';
    for (const char* folder : {"build", "usr/bin", "usr/share/fondaro", "chiavetta/bin"})
      QDir().mkpath(QString::fromUtf8(at(folder)));
  }
  void TearDown() override {
    ::chmod(at("sola-lettura").constData(), 0755);
    setProgramFolder(QByteArray());
    ::unsetenv(kFolderVariable);
    dir.reset();
    ::umask(umaskBefore);
  }

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
  static void ship(const QByteArray& folder) {
    writeBytes(joinPath(folder, kPasswordFileName), kFirstPassword);
    writeBytes(joinPath(folder, kManualFileName), kManual);
  }
};

}  // namespace

TEST_F(ProgramFolder, TheSourcesChooseTheFolder) {
  const struct {
    const char* name;
    QByteArray option;
    QByteArray variable;
    QByteArray executable;  // under the scratch folder unless absolute
    QByteArray expected;    // "HOME/..." and "WORK/..." stand for those
  } cases[] = {
      {"a build folder", "", "", "build/", "build/"},
      {"a copied folder named bin", "", "", "chiavetta/bin/", "chiavetta/bin/"},
      {"an installed program", "", "", "usr/bin/", "HOME/Fondaro/"},
      {"installed, named without its '/'", "", "", "usr/bin", "HOME/Fondaro/"},
      {"a folder the user cannot write to", "", "", "READONLY", "HOME/Fondaro/"},
      {"the variable", "", "/srv/conti", "build/", "/srv/conti/"},
      {"the variable over an installed program", "", "/srv/conti/", "usr/bin/", "/srv/conti/"},
      {"the option over the variable", "/mnt/usb/Fondaro", "/srv/conti", "usr/bin/", "/mnt/usb/Fondaro/"},
      {"a relative name", "conti 2024", "", "usr/bin/", "WORK/conti 2024/"},
      {"a name in the home folder", "", "~/Contabilità", "build/", "HOME/Contabilità/"},
      {"Latin-1 bytes kept", "/mnt/vecchia/Attivit\xe0", "", "build/", "/mnt/vecchia/Attivit\xe0/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FolderSources sources;
    sources.option = c.option;
    sources.variable = c.variable;
    sources.executable = c.executable == "READONLY" ? readOnlyFolder() : at(c.executable.constData());
    if (sources.executable.isEmpty()) continue;  // no folder here is read-only for this user
    sources.home = at("casa");
    sources.workingDir = at("lavoro");
    QByteArray expected = c.expected;
    if (expected.startsWith("HOME/")) expected = at("casa/") + expected.mid(5);
    if (expected.startsWith("WORK/")) expected = at("lavoro/") + expected.mid(5);
    if (!expected.startsWith('/')) expected = at(expected.constData());
    EXPECT_EQ(text(chooseProgramFolder(sources)), text(expected));
  }
}

TEST_F(ProgramFolder, TheShippedFilesOfAnInstalledProgramAreInShare) {
  EXPECT_TRUE(isInstalledLayout(at("usr/bin/")));
  EXPECT_EQ(text(shippedFolderPath(at("usr/bin/"))), text(at("usr/share/fondaro/")));
  EXPECT_FALSE(isInstalledLayout(at("chiavetta/bin/")));
  EXPECT_EQ(text(shippedFolderPath(at("build"))), text(at("build/")));
}

TEST_F(ProgramFolder, ANewFolderGetsTheShippedFiles) {
  ship(at("usr/share/fondaro/"));
  const QByteArray folder = at("casa/nuova/Fondaro/");
  EXPECT_EQ(prepareProgramFolder(folder, at("usr/share/fondaro/")).toStdString(), "");
  EXPECT_EQ(readBytes(folder + kPasswordFileName), kFirstPassword);
  EXPECT_EQ(readBytes(folder + kManualFileName), kManual);
}

TEST_F(ProgramFolder, TheUsersPasswordStaysAndTheManualFollowsTheShippedOne) {
  ship(at("usr/share/fondaro/"));
  const QByteArray folder = at("casa/Fondaro/");
  const QByteArray changed = "[Accesso]\r\nValore=mia\r\n";
  writeBytes(folder + kPasswordFileName, changed);
  writeBytes(folder + kManualFileName, "vecchia guida");
  writeBytes(folder + "2024.eur", "movimenti");
  EXPECT_EQ(prepareProgramFolder(folder, at("usr/share/fondaro/")).toStdString(), "");
  EXPECT_EQ(readBytes(folder + kPasswordFileName), changed);
  EXPECT_EQ(readBytes(folder + kManualFileName), kManual);
  EXPECT_EQ(readBytes(folder + "2024.eur"), QByteArray("movimenti"));
}

TEST_F(ProgramFolder, ALinkInPlaceOfThePasswordFileIsLeftAlone) {
  ship(at("usr/share/fondaro/"));
  const QByteArray folder = at("casa/Fondaro/");
  QDir().mkpath(QString::fromUtf8(folder));
  ASSERT_EQ(::symlink("/nessun/file", (folder + kPasswordFileName).constData()), 0);
  EXPECT_EQ(prepareProgramFolder(folder, at("usr/share/fondaro/")).toStdString(), "");
  EXPECT_EQ(QFileInfo(QString::fromUtf8(folder + kPasswordFileName)).symLinkTarget().toStdString(),
            "/nessun/file");
}

TEST_F(ProgramFolder, TheShippedFolderIsNotCopiedOntoItself) {
  ship(at("build/"));
  EXPECT_EQ(prepareProgramFolder(at("build/"), at("build")).toStdString(), "");
  EXPECT_EQ(readBytes(at("build/") + kPasswordFileName), kFirstPassword);
  EXPECT_EQ(readBytes(at("build/") + kManualFileName), kManual);
}

TEST_F(ProgramFolder, WithNothingShippedTheFolderIsStillMade) {
  const QByteArray folder = at("casa/Fondaro/");
  EXPECT_EQ(prepareProgramFolder(folder, at("usr/share/fondaro/")).toStdString(), "");
  EXPECT_TRUE(QFileInfo(QString::fromUtf8(folder)).isDir());
  EXPECT_FALSE(QFile::exists(QString::fromUtf8(folder + kPasswordFileName)));
}

TEST_F(ProgramFolder, AFolderThatCannotBeMadeIsNamed) {
  writeBytes(at("casa"), "un file, non una cartella");
  const QString why = prepareProgramFolder(at("casa/Fondaro/"), at("usr/share/fondaro/"));
  EXPECT_TRUE(why.startsWith(u"Impossibile creare la cartella dei dati di Fondaro:\n"_qs)) << why.toStdString();
  EXPECT_TRUE(why.contains(displayPath(at("casa/Fondaro/")))) << why.toStdString();
}

TEST_F(ProgramFolder, TheCommandLine) {
  const struct {
    const char* name;
    std::vector<QByteArray> args;
    QByteArray variable;
    QByteArray expected;  // a folder under the scratch one; "EXE" for the executable's
    bool usage;
  } cases[] = {
      {"nothing", {}, "", "EXE", false},
      {"other arguments", {"-style", "fusion"}, "", "EXE", false},
      {"the variable", {}, "variabile", "variabile/", false},
      {"--cartella DIR", {"--cartella", "opzione"}, "variabile", "opzione/", false},
      {"--cartella=DIR", {"--cartella=opzione"}, "", "opzione/", false},
      {"--cartella last", {"--cartella"}, "", "", true},
      {"--cartella=", {"--cartella="}, "variabile", "", true},
      {"an empty DIR after a good one", {"--cartella=opzione", "--cartella", ""}, "", "", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    setProgramFolder(QByteArray());
    ::unsetenv(kFolderVariable);
    std::vector<QByteArray> bytes{QByteArray("fondaro")};
    for (QByteArray b : c.args) {
      // Names relative to the scratch folder, as a user types them in it.
      if (b.endsWith("opzione")) b.replace("opzione", at("opzione"));
      bytes.push_back(b);
    }
    std::vector<char*> argv;
    for (QByteArray& b : bytes) argv.push_back(b.data());
    argv.push_back(nullptr);
    if (!c.variable.isEmpty()) ::setenv(kFolderVariable, at(c.variable.constData()).constData(), 1);

    const StartFolder start = startProgramFolder(int(bytes.size()), argv.data());
    if (c.usage) {
      EXPECT_EQ(start.usage, "fondaro: --cartella vuole il nome di una cartella (--cartella CARTELLA)");
      continue;
    }
    EXPECT_EQ(start.usage, "");
    EXPECT_EQ(start.error.toStdString(), "");
    const QByteArray folder = c.expected == "EXE" ? executableFolderPath() : at(c.expected.constData());
    EXPECT_EQ(text(start.folder), text(folder));
    EXPECT_EQ(text(programFolderPath()), text(folder));
    EXPECT_TRUE(QFileInfo(QString::fromUtf8(folder)).isDir());
  }
}

// ---- the command line of the program ----------------------------------------

namespace {
CommandLine parse(std::vector<QByteArray> args) {
  args.insert(args.begin(), QByteArray("fondaro"));
  std::vector<char*> argv;
  for (QByteArray& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return parseCommandLine(int(args.size()), argv.data());
}
}  // namespace

TEST(CommandLine, OptionsArchiveAndMistakes) {
  using A = CommandLine::Action;
  const struct {
    const char* name;
    std::vector<QByteArray> args;
    A action;
    QByteArray folder;
    QByteArray archive;
    std::string usage;  // for A::Usage
  } cases[] = {
      {"nothing", {}, A::Run, "", "", ""},
      {"help", {"--help"}, A::Help, "", "", ""},
      {"-h", {"-h"}, A::Help, "", "", ""},
      {"version", {"--version"}, A::Version, "", "", ""},
      {"help wins over version", {"--version", "--help"}, A::Help, "", "", ""},
      {"folder", {"--cartella", "Conti"}, A::Run, "Conti", "", ""},
      {"archive", {"Conti/2024.eur"}, A::Run, "", "Conti/2024.eur", ""},
      {"the toolkit's options pass", {"-style", "fusion", "-platform=xcb", "-reverse", "2024.eur"}, A::Run, "",
       "2024.eur", ""},
      {"after --, a name that starts with -", {"--", "-2024.eur"}, A::Run, "", "-2024.eur", ""},
      {"unknown option", {"--sconosciuta"}, A::Usage, "", "", "fondaro: opzione sconosciuta: --sconosciuta"},
      {"unknown short option", {"-x", "2024.eur"}, A::Usage, "", "", "fondaro: opzione sconosciuta: -x"},
      {"two archives", {"2023.eur", "2024.eur"}, A::Usage, "", "",
       "fondaro: si apre un archivio alla volta: 2023.eur, 2024.eur"},
      {"folder and archive", {"--cartella", "Conti", "2024.eur"}, A::Usage, "", "",
       "fondaro: un archivio si apre nella sua cartella: --cartella e il nome di un archivio non vanno insieme"},
      {"empty archive name", {""}, A::Usage, "", "", "fondaro: il nome dell'archivio è vuoto"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const CommandLine line = parse(c.args);
    EXPECT_EQ(line.action, c.action);
    EXPECT_EQ(line.usage, c.usage);
    if (c.action == A::Usage) continue;
    EXPECT_EQ(text(line.folder), text(c.folder));
    EXPECT_EQ(text(line.archive), text(c.archive));
  }
  // The number itself is the project's, checked against the changelog by the package test.
  EXPECT_TRUE(std::regex_match(versionText("fondaro"), std::regex("fondaro [0-9]+\\.[0-9]+\\.[0-9]+\n")))
      << versionText("fondaro");
  EXPECT_NE(commandLineHelp().find("--cartella CARTELLA"), std::string::npos);
}

TEST_F(ProgramFolder, AnArchiveOpensItsFolderAndYear) {
  writeBytes(at("Conti/2023.eur"), "");
  writeBytes(at("Conti/copia.eur"), "");
  QDir().mkpath(QString::fromUtf8(at("Conti/2022.eur")));
  ::chdir(base.constData());
  const struct {
    const char* name;
    QByteArray archive;
    QString year;
    QString error;  // its start
  } cases[] = {
      {"relative", "Conti/2023.eur", u"2023"_qs, {}},
      {"absolute", at("Conti/2023.eur"), u"2023"_qs, {}},
      {"not a yearly name", "Conti/copia.eur", {}, u"Fondaro apre gli archivi annuali dei movimenti"_qs},
      {"missing", "Conti/2021.eur", {}, u"Impossibile aprire l'archivio dei movimenti:\n"_qs},
      {"a folder", "Conti/2022.eur", {}, u"Impossibile aprire l'archivio dei movimenti:\n"_qs},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    setProgramFolder(QByteArray());
    CommandLine line;
    line.archive = c.archive;
    ::setenv(kFolderVariable, at("variabile").constData(), 1);  // the archive wins
    const StartFolder start = startProgramFolder(line);
    EXPECT_TRUE(start.error.startsWith(c.error)) << start.error.toStdString();
    EXPECT_EQ(start.year, c.year);
    if (!c.error.isEmpty()) continue;
    EXPECT_EQ(text(start.folder), text(at("Conti/")));
    EXPECT_EQ(text(programFolderPath()), text(at("Conti/")));
  }
  EXPECT_FALSE(QFileInfo::exists(QString::fromUtf8(at("variabile"))));
}

TEST_F(ProgramFolder, TheDataIsPrivate) {
  writeBytes(at("usr/share/fondaro/") + kPasswordFileName, kFirstPassword);
  QDir().mkpath(QString::fromUtf8(at("condivisa")));
  ::chmod(at("condivisa").constData(), 0775);
  QDir().mkpath(QString::fromUtf8(at("chiusa")));
  ::chmod(at("chiusa").constData(), 0700);
  const auto modeOf = [](const QByteArray& path) {
    struct stat st {};
    return ::stat(path.constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
  };
  // The shipped files come from beside the executable here (no installed
  // layout): the test gives the folders their first password file itself.
  const struct {
    const char* name;
    QByteArray folder;  // --cartella
    int folderMode;     // after the start
    bool privateFiles;
  } cases[] = {
      {"a folder made now", "nuova/dati", 0700, true},
      {"a shared folder keeps its mode", "condivisa", 0775, false},
      {"a closed folder", "chiusa", 0700, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ::umask(022);
    CommandLine line;
    line.folder = at(c.folder.constData());
    const StartFolder start = startProgramFolder(line);
    ASSERT_EQ(start.error.toStdString(), "");
    EXPECT_EQ(text(start.folder), text(at(c.folder.constData()) + "/"));
    EXPECT_EQ(start.privateData, c.privateFiles);
    EXPECT_EQ(modeOf(at(c.folder.constData())), c.folderMode);
    const mode_t now = ::umask(022);
    EXPECT_EQ(now, c.privateFiles ? mode_t(077) : mode_t(022));
  }
  // The parents a folder needs are made private too.
  EXPECT_EQ(modeOf(at("nuova")), 0700);
}

TEST_F(ProgramFolder, ProgramsTheDesktopOpensGetTheUsersUmask) {
  ::umask(027);
  keepNewFilesPrivate();
  {
    const UserUmask user;
    const mode_t during = ::umask(027);
    ::umask(during);
    EXPECT_EQ(during, mode_t(027));
  }
  const mode_t after = ::umask(022);
  EXPECT_EQ(after, mode_t(077));
}
