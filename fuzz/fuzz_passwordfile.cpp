// The password file's INI edit and the password scrambling on arbitrary bytes:
// reading never crashes, setting the value always reads back the value set,
// and every other line keeps its bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/crypt.h"
#include "core/passwordfile.h"

using namespace fondaro;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray content(reinterpret_cast<const char*>(data), qsizetype(size));
  (void)iniValue(content, kPasswordSection, kPasswordKey);

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
