// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QByteArray>
#include <cstring>

#include "core/cp1252.h"
#include "core/records.h"

using namespace fondaro;

namespace {

template <int Cap>
QByteArray bytesOf(const LpString<Cap>& f) {
  return QByteArray(reinterpret_cast<const char*>(&f), Cap + 1);
}

}  // namespace

TEST(Field, FlagsHaveTheirExactBytes) {
  LpString<2> f;
  f.set(kSi);
  EXPECT_EQ(bytesOf(f), QByteArray::fromHex("0253EC"));
  f.set(kNo);
  EXPECT_EQ(bytesOf(f), QByteArray::fromHex("024E6F"));
  EXPECT_EQ(f.get(), kNo);
}

TEST(Field, StoresTrimmedTextWithItsLength) {
  LpString<50> f;
  std::memset(static_cast<void*>(&f), 0x55, sizeof f);  // the bytes after the text must be cleared
  f.set(u"  Rossi Mario  ");
  EXPECT_EQ(f.len, 11);
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(f.data), 11), QByteArray("Rossi Mario"));
  for (int i = 11; i < 50; ++i) EXPECT_EQ(f.data[i], 0) << i;
  EXPECT_EQ(f.get(), QStringLiteral("Rossi Mario"));
}

TEST(Field, TrimRemovesControlCharactersButKeepsInnerOnes) {
  LpString<20> f;
  f.set(QStringLiteral("\t\r\n a\tb \x01\x1f"));
  EXPECT_EQ(f.get(), QStringLiteral("a\tb"));
  f.set(QStringLiteral(" \t "));
  EXPECT_EQ(f.len, 0);
}

TEST(Field, CutsSilentlyAtTheCapacity) {
  struct Case {
    int capacity;
    QString text;
    QString stored;
  };
  const QString long251 = QString(250, u'a') + u'b';
  const Case cases[] = {
      {250, long251, QString(250, u'a')},
      {15, QStringLiteral("1234567890123,45"), QStringLiteral("1234567890123,4")},
      {15, QStringLiteral("+12345678901,45"), QStringLiteral("+12345678901,45")},
      {15, QStringLiteral("+123456789012,45"), QStringLiteral("+123456789012,4")},
      {50, QString(60, u'x'), QString(50, u'x')},
      // The cut counts bytes after trimming, so trailing blanks never steal room.
      {5, QStringLiteral("  abcde  "), QStringLiteral("abcde")},
  };
  for (const Case& c : cases) {
    uint8_t slot[256];
    encodeField(slot, c.capacity, c.text);
    EXPECT_EQ(decodeField(slot, c.capacity), c.stored) << c.text.toStdString();
    EXPECT_EQ(slot[0], c.stored.size());
  }
}

TEST(Field, EuroSignAndAccentedLettersRoundTrip) {
  const QString text = QStringLiteral("\u20AC \u00E0\u00E8\u00E9\u00EC\u00F2\u00F9 \u00C8 \u201Cx\u201D \u2026");
  LpString<250> f;
  f.set(text);
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(f.data), f.len),
            QByteArray::fromHex("80 20 E0 E8 E9 EC F2 F9 20 C8 20 93 78 94 20 85"));
  EXPECT_EQ(f.get(), text);
}

TEST(Field, UnrepresentableCharactersBecomeOneQuestionMark) {
  LpString<20> f;
  f.set(QStringLiteral("a\u0101b\U0001F600c\u4E2D"));  // a, ā, b, an emoji (surrogate pair), c, 中
  EXPECT_EQ(f.get(), QStringLiteral("a?b?c?"));
}

TEST(Field, EveryByteDecodesToOneCharacterAndBack) {
  for (int b = 1; b < 256; ++b) {
    const char c = char(b);
    const QString s = cp1252::decode(&c, 1);
    ASSERT_EQ(s.size(), 1);
    EXPECT_EQ(cp1252::encode(s), QByteArray(1, c)) << b;
  }
}

TEST(Field, DamagedLengthByteIsClampedToTheSlot) {
  // A record image whose Data field claims 255 bytes: the read stays inside the
  // 10-byte slot and never reaches Causale.
  TMovimento r;
  r.Data.set(u"05/03/2024");
  r.Causale.set(u"SECRET");
  r.Data.len = 255;
  EXPECT_EQ(r.Data.get(), QStringLiteral("05/03/2024"));
  const MovimentoView v(reinterpret_cast<const uint8_t*>(&r));
  EXPECT_TRUE(v.lengthDamaged(mov::Data));
  EXPECT_EQ(v.length(mov::Data), 10);
  EXPECT_FALSE(v.lengthDamaged(mov::Causale));
}

TEST(Records, FieldTablesMatchTheLayout) {
  const auto& m = TMovimento::fields();
  int offset = 0;
  for (const FieldInfo& f : m) {
    EXPECT_EQ(f.offset, offset) << f.name;
    offset += f.capacity + 1;
  }
  EXPECT_EQ(offset, 3414);
  offset = 0;
  for (const FieldInfo& f : TCliente::fields()) {
    EXPECT_EQ(f.offset, offset) << f.name;
    offset += f.capacity + 1;
  }
  EXPECT_EQ(offset, 3372);
  EXPECT_STREQ(m[mov::Causale].name, "Causale");
  EXPECT_EQ(fieldIndex<TCliente>(u"Ricontatta"), cli::Ricontatta);
  EXPECT_FALSE(fieldIndex<TCliente>(u"Causale").has_value());
}
