// SPDX-License-Identifier: GPL-3.0-or-later
// The password file's INI edit and the password scrambling on arbitrary bytes:
// reading never crashes, setting the value always reads back the value set,
// and every other line keeps its bytes. The bytes are also read as a file
// through the bounded read the login uses, and must come back the same.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/crypt.h"
#include "core/passwordfile.h"

using namespace fondaro;

namespace {

// One scratch file for the whole run, rewritten with each input.
const QByteArray& scratchFile() {
  static const QByteArray path = [] {
    QByteArray p = "/tmp/fuzz_passwordfile.XXXXXX";
    const int fd = ::mkstemp(p.data());
    if (fd < 0) std::abort();
    ::close(fd);
    return p;
  }();
  return path;
}

void readThroughTheFile(const QByteArray& content) {
  const QByteArray& path = scratchFile();
  const int fd = ::open(path.constData(), O_WRONLY | O_TRUNC);
  if (fd < 0) std::abort();
  if (::write(fd, content.constData(), size_t(content.size())) != content.size()) std::abort();
  ::close(fd);
  const auto bytes = readPasswordFileBytes(path);
  if (!bytes || *bytes != content) std::abort();
  const QString value = readIniValue(path, kPasswordSection, kPasswordKey);
  const auto direct = iniValue(content, kPasswordSection, kPasswordKey);
  if (value != (direct ? QString::fromLatin1(*direct) : QString())) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray content(reinterpret_cast<const char*>(data), qsizetype(size));
  (void)iniValue(content, kPasswordSection, kPasswordKey);
  readThroughTheFile(content);

  // A scrambled value is hex digits only; whatever the file held, it reads back.
  const QString password = QString::fromLatin1(content.left(40));
  const QByteArray value = Crypt::Scramble(password).toLatin1();
  const QByteArray edited = withIniValue(content, kPasswordSection, kPasswordKey, value);
  const auto back = iniValue(edited, kPasswordSection, kPasswordKey);
  if (!back || *back != value) std::abort();
  if (Crypt::Unscramble(QString::fromLatin1(*back)) != password) std::abort();
  // Setting the same value twice changes nothing more.
  if (withIniValue(edited, kPasswordSection, kPasswordKey, value) != edited) std::abort();

  try {
    (void)Crypt::Unscramble(QString::fromLatin1(content));
  } catch (const CryptError&) {
  }
  return 0;
}
