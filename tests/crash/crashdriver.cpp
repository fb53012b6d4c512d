// SPDX-License-Identifier: GPL-3.0-or-later
// The writers of the windows, called as the windows call them, for the crash
// tests (tests/crash/crashcheck.py): the program's day-copy hook is installed
// as at start, then one core call writes.
//
//   crashdriver save FOLDER YEAR POS NOTE   the movement editor's "Salva": the
//                                           card at POS (0: a new card) with its
//                                           cause and note (its first and last
//                                           fields: a record cut anywhere between
//                                           them shows) set to NOTE
//   crashdriver password FOLDER NEW         the password change
//   crashdriver login FOLDER                the login's read of the password file
//   crashdriver daycopy FILE YYYY-MM-DD     the day copy of FILE as of that day
//
// Exit 0 when done, 1 with the error's text on stderr.
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <cstdio>

#include "core/crypt.h"
#include "core/cursor.h"
#include "core/field.h"
#include "core/filepath.h"
#include "core/passwordfile.h"
#include "core/records.h"
#include "core/safetycopies.h"

using namespace fondaro;

namespace {

QString folderOf(const QString& arg) { return arg.endsWith(u'/') ? arg : arg + u'/'; }

int save(const QStringList& a) {
  const QString path = movementArchivePath(folderOf(a[0]), a[1]);
  const qint64 pos = a[2].toLongLong();
  const RecordCursor<TMovimento> cursor(path);
  TMovimento r{};
  if (pos > 0) {
    r = MovementArchive::OpenExisting(path, RecordFile::Access::ReadOnly).ReadAt(pos);
  } else {
    setFieldText(r, mov::Causale, u"Nuova scheda");
    setFieldText(r, mov::Data, u"10/03/2024");
    setFieldText(r, mov::DataSca, u"10/03/2024");
    setFieldText(r, mov::Importo, u"12,50");
    setFieldText(r, mov::Totale, u"+12,50");
    r.Entrata.set(kSi);
    r.Uscita.set(kNo);
    r.Saldato.set(kNo);
  }
  setFieldText(r, mov::Causale, a[3]);
  setFieldText(r, mov::Note, a[3]);
  std::printf("%lld\n", static_cast<long long>(cursor.save(pos, r)));
  return 0;
}

int run(const QString& cmd, const QStringList& a) {
  if (cmd == u"save" && a.size() == 4) return save(a);
  if (cmd == u"password" && a.size() == 2) {
    writeStoredPassword(folderOf(a[0]), trimmedText(Crypt::Scramble(typedPassword(a[1]))));
    return 0;
  }
  if (cmd == u"login" && a.size() == 1) {
    std::printf("%s\n", qPrintable(readStoredPassword(folderOf(a[0]))));
    return 0;
  }
  if (cmd == u"daycopy" && a.size() == 2) {
    const QDateTime when(QDate::fromString(a[1], Qt::ISODate), QTime(12, 0));
    safety::copyBeforeWriting(encodePath(a[0]), when);
    return 0;
  }
  std::fprintf(stderr, "usage: crashdriver save|password|login|daycopy ...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList args;
  for (int i = 1; i < argc; ++i) args << decodePath(argv[i]);
  if (args.isEmpty()) return run({}, {});
  safety::installDayCopies([](const QByteArray& file, const safety::CopyError& e) {
    std::fprintf(stderr, "no day copy of %s: %s\n", file.constData(), qPrintable(e.english()));
  });
  try {
    const QString cmd = args.takeFirst();
    return run(cmd, args);
  } catch (const UserError& e) {
    std::fprintf(stderr, "%s\n", qPrintable(e.english()));
    return 1;
  }
}
