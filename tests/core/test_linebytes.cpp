// SPDX-License-Identifier: GPL-3.0-or-later
// The lines, orders, keys and numbers read straight from stored bytes agree
// with the same rules applied to the decoded text, over random records that
// hold every kind of byte: Windows-1252 letters, 0x80-0xFF, control bytes,
// blanks at both ends, damaged length bytes.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <random>

#include "core/journal.h"
#include "core/linebytes.h"
#include "core/lists.h"
#include "core/textrules.h"

using namespace fondaro;

namespace {

// Bytes that sit on the edges of the rules, drawn more often than the rest.
constexpr uint8_t kEdgeBytes[] = {0x00, 0x09, 0x1F, ' ', '!', '+', ',', '-', '.', '/', '0', '5', '9', 'A',
                                  'E',  'Z',  '[',  '_', '`', 'a', 'e', 'z', '{', 0x7F, 0x80, 0x81, 0x8A,
                                  0x9A, 0x9F, 0xA0, 0xC0, 0xC8, 0xE0, 0xE8, 0xFF};

class Bytes {
 public:
  explicit Bytes(unsigned seed) : rng_(seed) {}
  int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  uint8_t byte() {
    return below(3) == 0 ? uint8_t(below(256)) : kEdgeBytes[size_t(below(int(std::size(kEdgeBytes))))];
  }
  QByteArray text(int maxSize) {
    QByteArray t;
    const int n = below(maxSize + 1);
    for (int i = 0; i < n; ++i) t.append(char(byte()));
    return t;
  }
  // A field slot filled at random: mostly a sensible length, sometimes a
  // damaged one above the capacity, blanks and controls at either end.
  void fill(uint8_t* slot, int capacity) {
    for (int i = 1; i <= capacity; ++i) slot[i] = byte();
    if (below(4) == 0) {
      for (int i = 1; i <= std::min(capacity, 3); ++i) slot[i] = below(2) ? ' ' : 0x01;
    }
    const int r = below(10);
    slot[0] = r == 0 ? uint8_t(capacity + 1 + below(255 - capacity)) : r == 1 ? 0 : uint8_t(below(capacity + 1));
    if (slot[0] > 1 && slot[0] <= capacity && below(3) == 0) slot[slot[0]] = ' ';
  }
  template <class Rec>
  Rec record() {
    Rec r;
    auto* p = reinterpret_cast<uint8_t*>(&r);
    for (const FieldInfo& f : Rec::fields()) fill(p + f.offset, f.capacity);
    return r;
  }

 private:
  std::mt19937 rng_;
};

// The lines as the rules state them, built on decoded text: each column's
// text, then the field trimmed and padded (a width of 0: trimmed only).
struct TextColumn {
  QString before;
  int field;
  int width;
};

template <class Rec>
QString lineFromText(const RecordView<Rec>& v, const std::vector<TextColumn>& columns) {
  QString line;
  for (const TextColumn& c : columns) {
    line += c.before;
    // A control character inside a field is shown as a blank.
    const QString text = controlsAsBlanks(v.text(typename Rec::Field(c.field)));
    if (c.width > 0) appendPadded(line, text, c.width);
    else line += trimControl(text);
  }
  return line;
}

QString movementLineFromText(const MovimentoView& v) {
  return lineFromText(v, {{QString(), mov::Causale, 40},
                          {u"  Scad. "_qs, mov::DataSca, 10},
                          {u"  Da: "_qs, mov::Pagatore, 30},
                          {u"  A: "_qs, mov::Beneficiario, 30},
                          {u"  Importo: "_qs, mov::Totale, 0}});
}

QString clientLineFromText(const ClienteView& v, cli::Field last) {
  return lineFromText(v, {{QString(), cli::Cliente, 26},
                          {u"  Tel. "_qs, cli::Recapito, 15},
                          {u"  "_qs, cli::Occupazione, 25},
                          {u"  Prod. "_qs, cli::Prodotti, 30},
                          {u"  "_qs, last, 0}});
}

QString journalLineFromText(const MovimentoView& v) {
  const QString amount = trimmedText(v.text(mov::Totale));
  const QString kind = amount.startsWith(u'+')   ? u"ENTRATA  "_qs
                       : amount.startsWith(u'-') ? u"USCITA   "_qs
                                                 : u"         "_qs;
  return kind + lineFromText(v, {{QString(), mov::Causale, 40},
                                 {u"  Data: "_qs, mov::Data, 10},
                                 {u"  Da: "_qs, mov::Pagatore, 28},
                                 {u"  A: "_qs, mov::Beneficiario, 28},
                                 {u"  Importo: "_qs, mov::Totale, 0}});
}

int sign(int c) { return c < 0 ? -1 : c > 0 ? 1 : 0; }

}  // namespace

TEST(LineBytes, LinesEqualTheLinesBuiltFromDecodedText) {
  Bytes random(11);
  for (int i = 0; i < 3000; ++i) {
    const TMovimento m = random.record<TMovimento>();
    const MovimentoView mv(reinterpret_cast<const uint8_t*>(&m));
    ASSERT_EQ(ListKind<TMovimento>::line(mv), movementLineFromText(mv)) << "movement " << i;
    ASSERT_EQ(journalLine(mv), journalLineFromText(mv)) << "movement " << i;
    const TCliente c = random.record<TCliente>();
    const ClienteView cv(reinterpret_cast<const uint8_t*>(&c));
    ASSERT_EQ(ListKind<TCliente>::line(cv), clientLineFromText(cv, cli::Note)) << "card " << i;
    ASSERT_EQ(ListKind<TCliente>::callBackLine(cv), clientLineFromText(cv, cli::Questioni)) << "card " << i;
  }
}

TEST(LineBytes, AChosenLineFindsTheLastRecordWithItsText) {
  Bytes random(16);
  std::vector<TMovimento> recs;
  for (int i = 0; i < 200; ++i) recs.push_back(random.record<TMovimento>());
  recs.push_back(recs[7]);  // the later of two identical lines is the one
  QTemporaryDir dir;
  auto a = MovementArchive::OpenOrCreate(dir.filePath(u"2024.eur"_qs));
  for (const TMovimento& r : recs) a.Append(r);
  const auto textLine = [&](size_t i) {
    return movementLineFromText(MovimentoView(reinterpret_cast<const uint8_t*>(&recs[i])));
  };
  for (size_t i = 0; i < recs.size(); i += 5) {
    qint64 expected = 0;
    for (size_t k = 0; k < recs.size(); ++k) {
      if (trimControl(textLine(k)) == trimControl(textLine(i))) expected = qint64(k) + 1;
    }
    const std::optional<ListEntry> hit = lastRecordWithLine(a, u" "_qs + textLine(i) + u"\t"_qs);
    ASSERT_TRUE(hit) << i;
    EXPECT_EQ(hit->position, expected) << i;
    EXPECT_EQ(hit->line, textLine(size_t(expected - 1)));
  }
  EXPECT_FALSE(lastRecordWithLine(a, textLine(3) + u"\u0100"_qs));
}

TEST(LineBytes, ByteRanksCompareAsTheirCharactersInTheListOrder) {
  const std::array<uint8_t, 256>& rank = lineOrderRank();
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      const QString x = decodeBytes(QByteArray(1, char(a)));
      const QString y = decodeBytes(QByteArray(1, char(b)));
      ASSERT_EQ(sign(int(rank[size_t(a)]) - int(rank[size_t(b)])), sign(compareListLines(x, y))) << a << " vs " << b;
    }
  }
}

TEST(LineBytes, CollectedLinesSortAsTheListSortsThem) {
  Bytes random(13);
  for (int round = 0; round < 50; ++round) {
    ListCollector collector;
    ListEntries expected;
    // A shared start longer than the short key, so the full comparison decides.
    const QByteArray common = round % 2 ? QByteArray("Affitto ufficio n. 12 del mese di marzo ") : QByteArray();
    std::vector<QByteArray> pool;
    for (int i = 0; i < 400; ++i) {
      const QByteArray line = random.below(5) == 0 && !pool.empty() ? pool[size_t(random.below(int(pool.size())))]
                                                                   : common.left(random.below(int(common.size()) + 1)) + random.text(24);
      pool.push_back(line);
      collector.line().literal(line);
      collector.add(i + 1);
      expected.push_back({decodeBytes(line), i + 1});
    }
    sortListEntries(expected);
    const ListEntries got = collector.takeSorted();
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i) {
      ASSERT_EQ(got[i].position, expected[i].position) << "round " << round << ", line " << i;
      ASSERT_EQ(got[i].line, expected[i].line);
    }
  }
}

TEST(LineBytes, FiltersMatchAsOnDecodedText) {
  Bytes random(14);
  // Keys with characters that no stored byte decodes to, or a surrogate half.
  const QString strange[] = {u"\u0100"_qs, u"\u0080"_qs, u"\U0001F600"_qs, QString(QChar(0xD800)), u"\u20AC"_qs};
  for (int i = 0; i < 20000; ++i) {
    TMovimento r;
    random.fill(&r.Pagatore.len, 50);
    const MovimentoView v(reinterpret_cast<const uint8_t*>(&r));
    const QString field = v.text(mov::Pagatore);
    QString key;
    switch (random.below(3)) {
      case 0: key = field.mid(random.below(int(field.size()) + 1), random.below(4)); break;
      case 1: key = decodeBytes(random.text(3)); break;
      default: key = decodeBytes(random.text(1)) + strange[random.below(int(std::size(strange)))];
    }
    if (random.below(2)) key = key.toUpper();
    const FilterSet filters({{mov::Pagatore, key}});
    const bool onText = !isActiveFilter(key) || containsFolded(field, lowerAscii(key));
    ASSERT_EQ(filters.matches(v), onText) << key.toStdString() << " in " << field.toStdString();
  }
}

TEST(LineBytes, DatesNoticesAndAmountsReadAsFromDecodedText) {
  Bytes random(15);
  const QByteArray alphabet = "0123456789/,+-eE .x";
  for (int i = 0; i < 50000; ++i) {
    QByteArray t;
    const int n = random.below(16);
    for (int k = 0; k < n; ++k)
      t.append(random.below(10) ? alphabet[random.below(int(alphabet.size()))] : char(random.byte()));
    const QString text = decodeBytes(t);
    ASSERT_EQ(parseDateBytes(t), parseDate(text)) << t.constData();
    ASSERT_EQ(parseNoticeDaysBytes(t), parseNoticeDays(text)) << t.constData();
    // The amount reader keeps the number rule of the archives: what it
    // accepts is a number, and every number of a movement's size is accepted
    // with its value.
    const std::optional<ExactAmount> amount = ExactAmount::parseBytes(t);
    const std::optional<double> number = parseNumber(text);
    ASSERT_EQ(ExactAmount::parse(text).has_value(), amount.has_value()) << t.constData();
    if (!number) {
      ASSERT_FALSE(amount) << t.constData();
      continue;
    }
    if (std::abs(*number) >= 1e15) continue;
    ASSERT_TRUE(amount) << t.constData();
    const QString euro = amount->euroText();
    const double shown = euro.chopped(2).replace(u',', u'.').toDouble();
    ASSERT_NEAR(shown, *number, 0.0051) << t.constData();
  }
}
