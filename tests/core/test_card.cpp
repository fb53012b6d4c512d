// SPDX-License-Identifier: GPL-3.0-or-later
// The binding tables and the record cursor that both editors share.
#include <gtest/gtest.h>

#include <type_traits>

#include <QSet>

#include "../common/records.h"
#include "core/card.h"
#include "core/cursor.h"

namespace fondaro {
namespace {

using testdata::ArchiveFixture;
using testdata::movement;

template <class Rec>
void expectSoundTable(const QSet<int>& unbound) {
  QSet<QString> names;
  QSet<int> fields;
  for (const Binding& b : bindingsOf<Rec>()) {
    const QString name = b.control.toString();
    EXPECT_FALSE(names.contains(name)) << name.toStdString() << " bound twice";
    EXPECT_FALSE(fields.contains(b.field)) << Rec::fields()[b.field].name << " bound twice";
    names.insert(name);
    fields.insert(b.field);
    // The control is named after its field, with the prefix of its kind.
    EXPECT_TRUE(name.mid(3) == QLatin1String(Rec::fields()[b.field].name)) << name.toStdString();
    EXPECT_LE(typingLimit<Rec>(b), Rec::fields()[b.field].capacity);
  }
  // Every field is bound, but the flags and computed fields the named rules handle.
  for (int f = 0; f < Rec::FieldCount; ++f) EXPECT_NE(fields.contains(f), unbound.contains(f)) << Rec::fields()[f].name;
}

TEST(Bindings, EveryTextFieldHasExactlyOneControlNamedAfterIt) {
  expectSoundTable<TMovimento>({mov::Entrata, mov::Uscita, mov::Totale, mov::Saldato});
  expectSoundTable<TCliente>({cli::Ricontatta});
}

TEST(Bindings, TypingLimitsWhereTheyDifferFromTheCapacity) {
  for (const Binding& b : movementBindings()) {
    EXPECT_EQ(typingLimit<TMovimento>(b), b.field == mov::Pagamento ? 150 : TMovimento::fields()[b.field].capacity);
  }
}

TEST(Bindings, TextsGoToTheRecordAndComeBackTrimmed) {
  CardTexts<TCliente> t;
  for (const Binding& b : clientBindings()) t[b.field] = u"  "_qs + QString::number(b.field) + u" \u00E8 "_qs;
  t[cli::Ricontatta] = u"not bound"_qs;
  TCliente r;
  textsIntoRecord(t, r);
  EXPECT_EQ(r.Ricontatta.get(), QString());
  const CardTexts<TCliente> back = textsFromRecord(r);
  for (const Binding& b : clientBindings()) {
    const QString stored = (QString::number(b.field) + u" \u00E8"_qs).left(TCliente::fields()[b.field].capacity);
    EXPECT_EQ(back[b.field], stored.trimmed()) << TCliente::fields()[b.field].name;
  }
}

// What each browsing step shows, by archive size and card position.
TEST(RecordCursor, BrowsingSteps) {
  enum Step { First, Last, Next, Previous };
  using M = CursorMove<TMovimento>;
  struct Case {
    const char* what;
    int records;
    Step step;
    qint64 current;
    M::Kind kind;
    qint64 position;
    bool forget;
  };
  const Case cases[] = {
      {"first, empty", 0, First, 0, M::Empty, 0, false},
      {"last, empty", 0, Last, 3, M::Empty, 0, false},
      {"next, empty: the card forgets its position", 0, Next, 2, M::Empty, 0, true},
      {"previous, empty", 0, Previous, 0, M::Empty, 0, false},
      {"previous on record 1 stays even when empty", 0, Previous, 1, M::Stay, 0, false},
      {"first", 3, First, 2, M::Show, 1, false},
      {"last", 3, Last, 1, M::Show, 3, false},
      {"next from a new card", 3, Next, 0, M::Show, 1, false},
      {"next", 3, Next, 1, M::Show, 2, false},
      {"next on the last stays", 3, Next, 3, M::Stay, 0, false},
      {"previous from a new card", 3, Previous, 0, M::Show, 1, false},
      {"previous", 3, Previous, 3, M::Show, 2, false},
      {"previous on record 1 stays", 3, Previous, 1, M::Stay, 0, false},
      {"one record: next from new", 1, Next, 0, M::Show, 1, false},
      {"one record: next on it", 1, Next, 1, M::Stay, 0, false},
  };
  for (const Case& c : cases) {
    ArchiveFixture<TMovimento> a(u"2024.eur"_qs);
    for (int i = 1; i <= c.records; ++i) a.add({movement(QString::number(i))});
    const RecordCursor<TMovimento> cursor(a.path());
    M m;
    switch (c.step) {
      case First: m = cursor.first(); break;
      case Last: m = cursor.last(); break;
      case Next: m = cursor.next(c.current); break;
      case Previous: m = cursor.previous(c.current); break;
    }
    EXPECT_EQ(m.kind, c.kind) << c.what;
    EXPECT_EQ(m.forgetPosition, c.forget) << c.what;
    if (c.kind == M::Show) {
      EXPECT_EQ(m.position, c.position) << c.what;
      EXPECT_EQ(m.record.Causale.get(), QString::number(c.position)) << c.what;
    }
    EXPECT_EQ(a.count(), c.records) << c.what << ": a missing archive is created empty";
  }
}

TEST(RecordCursor, SaveAppendsANewCardAndWritesAStoredOneInPlace) {
  ArchiveFixture<TMovimento> a(u"2024.eur"_qs);
  const RecordCursor<TMovimento> cursor(a.path());
  EXPECT_EQ(cursor.save(0, movement(u"uno")), 1);
  EXPECT_EQ(cursor.save(0, movement(u"due")), 2);
  EXPECT_EQ(cursor.save(1, movement(u"primo")), 1);
  EXPECT_EQ(a.count(), 2);
  EXPECT_EQ(a.at(1).Causale.get(), u"primo"_qs);
  EXPECT_EQ(a.at(2).Causale.get(), u"due"_qs);
}

TEST(RecordCursor, AnUnusableArchiveThrowsAndWritesNothing) {
  QTemporaryDir dir;
  const RecordCursor<TMovimento> cursor(dir.filePath(u"missing/2024.eur"_qs));
  EXPECT_THROW(cursor.first(), ArchiveError);
  EXPECT_THROW(cursor.save(0, movement(u"x")), ArchiveError);
  EXPECT_FALSE(QDir(dir.filePath(u"missing"_qs)).exists());
}

// A binding table of one record kind takes only that kind's fields: naming an
// address-book field in a movement table does not compile.
static_assert(std::is_constructible_v<FieldBinding<TMovimento>, QStringView, mov::Field>);
static_assert(!std::is_constructible_v<FieldBinding<TMovimento>, QStringView, cli::Field>);
static_assert(!std::is_constructible_v<FieldBinding<TCliente>, QStringView, mov::Field>);
static_assert(!std::is_constructible_v<FieldBinding<TCliente>, QStringView, int>);

}  // namespace
}  // namespace fondaro
