// SPDX-License-Identifier: GPL-3.0-or-later
// The rendiconto per cassa: the form computed for a small association over
// two years (every row checked), the classification with its fallbacks, the
// settings file, and the tool's command.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "core/archive.h"
#include "core/filepath.h"
#include "core/rendiconto.h"
#include "../common/records.h"
#include "test_support.h"

using namespace fondaro;
using namespace fondaro::rendiconto;

namespace {

TMovimento mov(const QString& data, const QString& totale, const QString& categoria, bool saldato = true) {
  return testdata::categorised(data, totale, categoria, saldato);
}

void writeArchive(const QString& folder, const QString& year, const std::vector<TMovimento>& recs) {
  testdata::appendToYear(folder, year, recs);
}

const char* kSettings = R"({
  "classificazione": [
    {"categoria": "Quote associative", "uscite": null, "entrate": "A.E.1"},
    {"categoria": "erogazioni liberali ", "entrate": "A.E.4"},
    {"categoria": "5 per mille", "uscite": null, "entrate": "A.E.5"},
    {"categoria": "Contributi", "uscite": null, "entrate": "A.E.6"},
    {"categoria": "Contributi: Comune", "uscite": null, "entrate": "A.E.8"},
    {"categoria": "Materiale", "uscite": "A.U.1", "entrate": null},
    {"categoria": "Servizi", "uscite": "A.U.2", "entrate": null},
    {"categoria": "SERVIZI:BANCA", "uscite": "D.U.1", "entrate": null},
    {"categoria": "Affitto sede", "uscite": "A.U.3", "entrate": null},
    {"categoria": "Cena sociale", "uscite": "C.U.2", "entrate": "C.E.2"},
    {"categoria": "Interessi", "uscite": null, "entrate": "D.E.1"},
    {"categoria": "Computer", "uscite": "F.U.1", "entrate": null},
    {"categoria": "Imposte", "uscite": "I1", "entrate": null},
    {"categoria": "Giroconto", "uscite": "X", "entrate": "X"},
    {"categoria": "Prestito", "uscite": "F.U.4", "entrate": "F.E.4"}
  ],
  "saldi": {"2022": {"cassa": "100,00", "banca": "2000,00"},
            "2023": {"cassa": "150,00", "banca": "2770,00"},
            "2024": {"cassa": "200,00", "banca": "4167,50"}},
  "figurativi": false
})";

// A small association: its movements of 2023 and 2024 in the archives, its
// classification and balances beside them.
class SmallAssociation : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QByteArray folder = encodePath(dir.path());

  void SetUp() override {
    writeArchive(dir.path(), u"2023"_qs,
                 {mov(u"15/01/2023"_qs, u"+1400,00"_qs, u"Quote associative"_qs),
                  mov(u"10/03/2023"_qs, u"-380,00"_qs, u"Materiale"_qs),
                  mov(u"31/12/2023"_qs, u"-1200,00"_qs, u"Affitto sede"_qs),
                  mov(u"01/06/2023"_qs, u"+1000,00"_qs, u"Prestito"_qs)});
    writeArchive(dir.path(), u"2024"_qs,
                 {mov(u"10/01/2024"_qs, u"+1500,00"_qs, u"Quote associative"_qs),
                  mov(u"11/02/2024"_qs, u"+800,00"_qs, u"Erogazioni liberali"_qs),
                  mov(u"30/10/2024"_qs, u"+350,00"_qs, u"5 per mille"_qs),
                  mov(u"15/05/2024"_qs, u"+1000,00"_qs, u"Contributi: Comune"_qs),
                  mov(u"16/05/2024"_qs, u"+250,00"_qs, u"Contributi: privati"_qs),
                  mov(u"01/02/2024"_qs, u"-420,00"_qs, u"Materiale"_qs),
                  mov(u"01/03/2024"_qs, u"-300,00"_qs, u"Servizi: telefono"_qs),
                  mov(u"31/12/2024"_qs, u"-60,00"_qs, u"Servizi: banca"_qs),
                  mov(u"05/01/2024"_qs, u"-1200,00"_qs, u"Affitto sede"_qs),
                  mov(u"20/06/2024"_qs, u"-600,00"_qs, u"Cena sociale"_qs),
                  mov(u"21/06/2024"_qs, u"+900,00"_qs, u"cena sociale"_qs),
                  mov(u"31/12/2024"_qs, u"+2,50"_qs, u"Interessi"_qs),
                  mov(u"02/09/2024"_qs, u"-700,00"_qs, u"Computer"_qs),
                  mov(u"16/06/2024"_qs, u"-45,00"_qs, u"Imposte"_qs),
                  mov(u"03/04/2024"_qs, u"-500,00"_qs, u"Giroconto"_qs),
                  mov(u"03/04/2024"_qs, u"+500,00"_qs, u"Giroconto"_qs),
                  mov(u"20/12/2024"_qs, u"-100,00"_qs, u"Materiale"_qs, false),
                  mov(u"21/12/2024"_qs, u"-30,00"_qs, u"Varie"_qs)});
  }
  void writeSettingsFile(const QByteArray& json) {
    fondaro::testing::writeAll(QDir(dir.path()).filePath(u"Rendiconto.json"_qs), json);
  }
};

struct Expected {
  const char* code;
  const char* year;
  const char* before;
};

// Every row of the form, numbered lines zero in both years left out.
const Expected kForm[] = {
    {"A.U.1", "420,00", "380,00"},  {"A.U.2", "300,00", "0,00"},    {"A.U.3", "1200,00", "1200,00"},
    {"A.U.T", "1920,00", "1580,00"}, {"A.E.1", "1500,00", "1400,00"}, {"A.E.4", "800,00", "0,00"},
    {"A.E.5", "350,00", "0,00"},    {"A.E.6", "250,00", "0,00"},    {"A.E.8", "1000,00", "0,00"},
    {"A.E.T", "3900,00", "1400,00"}, {"A.R", "1980,00", "-180,00"},  {"B.U.T", "0,00", "0,00"},
    {"B.E.T", "0,00", "0,00"},      {"B.R", "0,00", "0,00"},        {"C.U.2", "600,00", "0,00"},
    {"C.U.T", "600,00", "0,00"},    {"C.E.2", "900,00", "0,00"},    {"C.E.T", "900,00", "0,00"},
    {"C.R", "300,00", "0,00"},      {"D.U.1", "60,00", "0,00"},     {"D.U.T", "60,00", "0,00"},
    {"D.E.1", "2,50", "0,00"},      {"D.E.T", "2,50", "0,00"},      {"D.R", "-57,50", "0,00"},
    {"E.U.T", "0,00", "0,00"},      {"E.E.T", "0,00", "0,00"},      {"G.U", "2580,00", "1580,00"},
    {"G.E", "4802,50", "1400,00"},  {"R1", "2222,50", "-180,00"},   {"I1", "45,00", "0,00"},
    {"R2", "2177,50", "-180,00"},   {"F.U.1", "700,00", "0,00"},    {"F.U.T", "700,00", "0,00"},
    {"F.E.4", "0,00", "1000,00"},   {"F.E.T", "0,00", "1000,00"},   {"I2", "0,00", "0,00"},
    {"R3", "-700,00", "1000,00"},   {"R4", "1477,50", "820,00"},    {"K", "4367,50", "2920,00"},
    {"K.C", "200,00", "150,00"},    {"K.B", "4167,50", "2770,00"},
};

}  // namespace

TEST_F(SmallAssociation, EveryRowOfTheForm) {
  writeSettingsFile(kSettings);
  const Rendiconto r = buildRendiconto(folder, 2024, readSettings(folder), false);
  QStringList got;
  for (const FormLine& l : r.lines)
    if (l.row->kind != RowKind::Heading && !l.row->repeated)
      got << l.row->code + u' ' + amountText(l, 0) + u' ' + amountText(l, 1);
  QStringList expected;
  for (const Expected& e : kForm)
    expected << QString::fromUtf8(e.code) + u' ' + QString::fromUtf8(e.year) + u' ' + QString::fromUtf8(e.before);
  EXPECT_EQ(got, expected);

  // Outside the form: the unclassified "Varie", the unsettled material; the
  // cash check of 2024 misses exactly what is not classified, 2023's holds.
  EXPECT_EQ(r.unclassified[0].count, 1);
  EXPECT_EQ(r.unclassified[0].expense.roundedCents(), -3000);
  EXPECT_EQ(r.unclassified[1].count, 0);
  EXPECT_EQ(r.unsettled[0].count, 1);
  EXPECT_EQ(r.unsettled[0].expense.roundedCents(), -10000);
  EXPECT_EQ(r.checkDifference[0], std::optional<qint64>(-3000));
  EXPECT_EQ(r.checkDifference[1], std::optional<qint64>(0));
  EXPECT_FALSE(r.classifiedWhole());

  // The printed form: amounts with thousands dots, the check's fault in red.
  const QStringList rows = formPrintRows(r);
  EXPECT_EQ(rows.front(), u"Y\t\tEs. 2024\tEs. 2023"_qs);
  EXPECT_TRUE(rows.contains(u"T\tTotale entrate della gestione\t4.802,50\t1.400,00"_qs));
  EXPECT_TRUE(rows.contains(u"F\tEsercizio 2024: cassa e banca 2024 - cassa e banca 2023 differisce "
                            u"dall'avanzo/disavanzo complessivo di -30,00.\t\t"_qs));
}

TEST_F(SmallAssociation, ToolPrintsTheForm) {
  writeSettingsFile(kSettings);
  const auto r = fondaro::testing::runTool({u"rendiconto"_qs, dir.path(), u"--year"_qs, u"2024"_qs});
  EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
  const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), qsizetype(std::size(kForm)) + 1) << r.out.toStdString();
  for (size_t i = 0; i < std::size(kForm); ++i) {
    const QStringList f = lines[qsizetype(i)].split(u'\t');
    ASSERT_EQ(f.size(), 4) << lines[qsizetype(i)].toStdString();
    EXPECT_EQ(f[0], QString::fromUtf8(kForm[i].code));
    EXPECT_EQ(f[2], QString::fromUtf8(kForm[i].year)) << kForm[i].code;
    EXPECT_EQ(f[3], QString::fromUtf8(kForm[i].before)) << kForm[i].code;
  }
  EXPECT_EQ(lines[0], u"A.U.1\t1) Materie prime, sussidiarie, di consumo e di merci\t420,00\t380,00"_qs);
  EXPECT_TRUE(r.out.contains(u"\nR4\tAvanzo/disavanzo complessivo (+/-)\t1477,50\t820,00\n"_qs));
  EXPECT_EQ(lines.last(), u"non classificato\t2024\t1\t0,00\t30,00"_qs);
}

TEST_F(SmallAssociation, ZeroLinesAndFigurativi) {
  QByteArray json = kSettings;
  json.replace("\"figurativi\": false", "\"figurativi\": true");
  writeSettingsFile(json);
  const auto r = fondaro::testing::runTool({u"rendiconto"_qs, dir.path(), u"--year"_qs, u"2024"_qs, u"--zero-lines"_qs});
  EXPECT_TRUE(r.out.contains(u"\nA.U.4\t4) Personale\t0,00\t0,00\n"_qs)) << r.out.toStdString();
  EXPECT_TRUE(r.out.contains(u"\nE.E.2\t2) Altre entrate di supporto generale\t0,00\t0,00\n"_qs));
  EXPECT_TRUE(r.out.contains(u"\nCF.1\t1) da attività di interesse generale\t0,00\t0,00\n"_qs));
  EXPECT_TRUE(r.out.contains(u"\nPF.T\tTotale\t0,00\t0,00\n"_qs));
  // Every row but the headings and the summary's repeats, and the one year not classified.
  qsizetype rows = 0;
  for (const FormRow& row : formRows()) rows += row.kind != RowKind::Heading && !row.repeated;
  EXPECT_EQ(r.out.count(u'\n'), rows + 1);
}

TEST_F(SmallAssociation, WithoutSettingsNothingIsClassified) {
  const auto r = fondaro::testing::runTool({u"rendiconto"_qs, dir.path(), u"--year"_qs, u"2024"_qs});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.out.contains(u"\nR4\tAvanzo/disavanzo complessivo (+/-)\t0,00\t0,00\n"_qs));
  EXPECT_TRUE(r.out.contains(u"\nK\tCassa e banca (+/-)\t\t\n"_qs));
  // Settled only: the giroconto both ways, the unsettled material left out.
  EXPECT_TRUE(r.out.endsWith(u"non classificato\t2024\t17\t5302,50\t3855,00\n"
                             u"non classificato\t2023\t4\t2400,00\t1580,00\n"_qs))
      << r.out.toStdString();
  EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath(u"Rendiconto.json"_qs)));
}

TEST(RendicontoSettings, ClassifierFallsBackToTheCategory) {
  const Classifier c({{u"Servizi"_qs, u"A.U.2"_qs, QString()},
                      {u" servizi :  BANCA"_qs, u"D.U.1"_qs, QString()},
                      {u"Cena"_qs, u"C.U.2"_qs, u"C.E.2"_qs},
                      {u"Cena: vino"_qs, QString(), u"X"_qs}});
  struct Case {
    QString categoria;
    Side side;
    QString code;
  };
  const Case cases[] = {
      {u"Servizi: telefono"_qs, Side::Uscite, u"A.U.2"_qs}, {u"SERVIZI:banca"_qs, Side::Uscite, u"D.U.1"_qs},
      {u"Servizi: banca"_qs, Side::Entrate, QString()},     {u"cena: vino"_qs, Side::Uscite, u"C.U.2"_qs},
      {u"Cena:Vino"_qs, Side::Entrate, u"X"_qs},             {u"Cena"_qs, Side::Entrate, u"C.E.2"_qs},
      {u"Varie"_qs, Side::Uscite, QString()},               {u""_qs, Side::Uscite, QString()},
  };
  for (const Case& k : cases) EXPECT_EQ(c.codeFor(k.categoria, k.side), k.code) << k.categoria.toStdString();
}

TEST(RendicontoSettings, RoundTripAndDamage) {
  Settings s;
  s.classificazione = {{u"Servizi: telefono"_qs, u"A.U.2"_qs, QString()}, {u"Giroconto"_qs, u"X"_qs, u"X"_qs}};
  s.saldi[2024] = {12000, 340050};
  s.figurativi = true;
  const QByteArray json = settingsToJson(s);
  EXPECT_TRUE(json.contains("\"uscite\": \"A.U.2\""));
  EXPECT_TRUE(json.contains("\"entrate\": null"));
  EXPECT_TRUE(json.contains("\"banca\": \"3400,50\""));
  const Settings back = settingsFromJson(json);
  ASSERT_EQ(back.classificazione.size(), 2u);
  EXPECT_EQ(back.classificazione[0].categoria, u"Servizi: telefono"_qs);
  EXPECT_EQ(back.classificazione[1].entrate, u"X"_qs);
  EXPECT_EQ(back.saldi.at(2024).banca, 340050);
  EXPECT_TRUE(back.figurativi);

  const char* damaged[] = {
      "not json",
      "[]",
      R"({"classificazione": [{"categoria": "Quote", "uscite": "A.E.1"}]})",
      R"({"classificazione": [{"categoria": "Quote", "entrate": "A.U.1"}]})",
      R"({"classificazione": [{"categoria": "Quote", "entrate": "Z.9"}]})",
      R"({"classificazione": [{"uscite": "A.U.1"}]})",
      R"({"saldi": {"24": {"cassa": "1,00"}}})",
      R"({"saldi": {"2024": {"cassa": "uno"}}})",
      R"({"figurativi": "sì"})",
  };
  for (const char* d : damaged) {
    try {
      settingsFromJson(d);
      ADD_FAILURE() << d;
    } catch (const RendicontoError& e) {
      EXPECT_EQ(e.kind(), RendicontoError::Kind::Damaged) << d;
      EXPECT_TRUE(e.italian().startsWith(u"Attenzione: il file Rendiconto.json"_qs));
    }
  }
}

TEST(RendicontoSettings, WrittenWholeAndReadBack) {
  QTemporaryDir dir;
  const QByteArray folder = encodePath(dir.path());
  EXPECT_TRUE(readSettings(folder).classificazione.empty());
  Settings s;
  s.classificazione = {{u"Quote"_qs, QString(), u"A.E.1"_qs}};
  writeSettings(folder, s);
  EXPECT_EQ(readSettings(folder).classificazione[0].entrate, u"A.E.1"_qs);
  // A change made on the file as it is now keeps what it does not touch.
  updateSettings(folder, [](Settings& now) { now.saldi[2024] = {100, 200}; });
  const Settings back = readSettings(folder);
  EXPECT_EQ(back.classificazione[0].entrate, u"A.E.1"_qs);
  EXPECT_EQ(back.saldi.at(2024).banca, 200);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"Rendiconto.json"_qs});
}

TEST_F(SmallAssociation, ToolRefusals) {
  writeSettingsFile(R"({"classificazione": [{"categoria": "Quote", "uscite": "A.E.1"}]})");
  struct Case {
    QStringList args;
    QString why;
  };
  const Case cases[] = {
      {{u"rendiconto"_qs, dir.path(), u"--year"_qs, u"2024"_qs}, u"Rendiconto.json"_qs},
      {{u"rendiconto"_qs, dir.path(), u"--year"_qs, u"24"_qs}, u"--year \"24\" is not a year"_qs},
      {{u"rendiconto"_qs, dir.path()}, u"--year is needed"_qs},
      {{u"rendiconto"_qs, dir.path() + u"/no"_qs, u"--year"_qs, u"2024"_qs}, u"is not a folder"_qs},
      {{u"rendiconto"_qs, dir.path(), u"--year"_qs, u"2024"_qs, u"--zero"_qs}, u"unknown option"_qs},
  };
  for (const Case& c : cases) {
    const auto r = fondaro::testing::runTool(c.args);
    EXPECT_EQ(r.exitCode, 2) << c.args.join(u' ').toStdString();
    EXPECT_TRUE(r.err.contains(c.why)) << r.err.toStdString();
  }
}
