// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "rendiconto per cassa" (Modello D) of third-sector bodies: the form's
// rows as data, the classification of the categories into its lines, the
// balances of cash and bank the user gives, and the form of a year computed
// from the yearly archives on a cash basis.
//
// - Every numbered line is the sum of the settled movements (Saldato "Sì")
//   dated in the year whose category is classified into it: money out on the
//   Uscite side, money in on the Entrate side, as positive amounts. Unsettled
//   movements are left out and counted apart.
// - A category is classified per side (money out, money in) into a line of
//   that side, or "X" (not in the form: a transfer between cash and bank). A
//   sub-category without its own choice for a side takes its category's.
//   Categories are matched trimmed and without regard to case
//   (categories::categoryKey).
// - Totals and result rows as the form computes them; amounts in cents,
//   each line rounded to the cent before it is added, so that every printed
//   total is the sum of the printed lines.
// - "Cassa" and "Depositi bancari e postali" at 31/12 of each year are the
//   user's (the archives have no accounts); the ministry's check is
//   Cassa e banca (Y) - Cassa e banca (Y-1) = Avanzo/disavanzo complessivo (Y).
//
// The classification and balances live in "Rendiconto.json" in the program
// folder, UTF-8 JSON replaced whole (temporary file, sync, rename):
//   {"classificazione": [{"categoria": "Servizi: telefono", "uscite": "A.U.2",
//     "entrate": null}, ...], "saldi": {"2024": {"cassa": "120,00",
//     "banca": "3400,50"}, ...}, "figurativi": false}
// A file that cannot be read as such is reported and never replaced by a
// window that could not read it.
#include <QByteArray>
#include <QString>
#include <QStringView>
#include <array>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "core/categories.h"
#include "core/usererror.h"

namespace fondaro::rendiconto {

enum class Side { Uscite, Entrate, Neither };

enum class RowKind {
  Heading,  // a section's title, no amounts
  Line,     // a numbered line: classified categories add up into it
  Taxes,    // "Imposte": classified like a line, never left out
  Total,    // a section's or the gestione's total
  Result,   // an avanzo/disavanzo, "-" when negative
  Balance,  // cassa e banca, given by the user
};

struct FormRow {
  QString code;  // "A.U.1", "A.U.T", "A.R", "R1", "K.C", ...; headings "A.U", "F.E", "CF"
  RowKind kind;
  Side side;
  QString text;          // as on the form
  bool repeated = false;  // a result shown again in the summary block (the tool prints it once)
  bool figurativo = false;  // the optional block of costi e proventi figurativi
};

// Every row of the form in its order: each section's Uscite, its Entrate and
// its result; the gestione; investments and financing; the summary; cassa e
// banca; the figurativi.
const std::vector<FormRow>& formRows();
// The row of a code (not a repeated one), or nullptr.
const FormRow* rowOf(QStringView code);
// The rows a category may be classified into on a side, in form order.
std::vector<const FormRow*> choicesFor(Side side);
// "X": not in the form.
inline const QString kExcluded = QStringLiteral("X");
// The short caption of a choice: "A.U.2 - Servizi" (section letter and line).
QString choiceCaption(const FormRow& row);

// ---- the settings file -------------------------------------------------------

struct Classification {
  QString categoria;  // as the user's list showed it
  QString uscite;     // a code, "X", or empty (no choice)
  QString entrate;
};

struct YearBalances {
  qint64 cassa = 0;  // cents at 31/12
  qint64 banca = 0;
};

struct Settings {
  std::vector<Classification> classificazione;
  std::map<int, YearBalances> saldi;
  bool figurativi = false;
};

class RendicontoError : public UserError {
 public:
  enum class Kind { Read, Damaged, Write };
  RendicontoError(Kind kind, QString detail, int sysError = 0);
  Kind kind() const { return kind_; }
  QString italian() const override;
  QString english() const override { return detail_; }
  UserError::Kind errorKind() const override;

 private:
  Kind kind_;
  QString detail_;
  int err_;
};

// "<program folder>Rendiconto.json"
QByteArray settingsPath(const QByteArray& programFolder);
// The folder's settings; empty ones when there is no file. Throws
// RendicontoError (Read, Damaged).
Settings readSettings(const QByteArray& programFolder);
// Replaces the file whole. Throws RendicontoError (Write).
void writeSettings(const QByteArray& programFolder, const Settings& settings);
// Reads the file as it is now, lets `change` change it, and writes it: what
// another window or copy of the program saved meanwhile stays. Returns the
// settings written. Throws as readSettings and writeSettings; a file that
// cannot be read is never replaced.
Settings updateSettings(const QByteArray& programFolder, const std::function<void(Settings&)>& change);
QByteArray settingsToJson(const Settings& settings);
// Throws RendicontoError (Damaged): not JSON, a code unknown or of the other
// side, an amount that is not one.
Settings settingsFromJson(const QByteArray& bytes);

// The choice for a category's movements of a side: a code, "X", or empty
// when it is not classified.
class Classifier {
 public:
  explicit Classifier(const std::vector<Classification>& list);
  QString codeFor(QStringView categoria, Side side) const;
  // The choice the category has itself, without its category's.
  QString ownCode(QStringView categoria, Side side) const;

 private:
  std::map<QString, std::array<QString, 2>> byKey_;
};

// ---- the form ------------------------------------------------------------------

// Movements outside the form in one year: count, money in, money out (positive).
struct Outside {
  qint64 count = 0;
  ExactAmount income;
  ExactAmount expense;  // zero or negative
  void add(const categories::PeriodMovement& m);
  void add(const Outside& o);
};

// The cents of each classified line in one year.
using LineAmounts = std::map<QString, qint64>;

struct FormLine {
  const FormRow* row = nullptr;
  // [0] the year, [1] the year before; none for headings, and for cassa e
  // banca when that year's balances are not given.
  std::array<std::optional<qint64>, 2> amount;
};

struct FormOptions {
  bool zeroLines = false;   // keep numbered lines zero in both years
  bool figurativi = false;  // the optional block
};

// The rows of the form from the lines' amounts of the two years and the
// balances at 31/12 of each (nothing: not given).
std::vector<FormLine> computeForm(const std::array<LineAmounts, 2>& lines,
                                  const std::array<std::optional<YearBalances>, 2>& balances,
                                  const FormOptions& options);

struct Rendiconto {
  int year = 0;
  std::vector<FormLine> lines;
  std::array<Outside, 2> unclassified;  // settled, with no choice for their side
  std::array<Outside, 2> unsettled;     // left out of the form
  // Cassa e banca (t) - Cassa e banca (t-1) - Avanzo/disavanzo complessivo (t),
  // for each column; nothing when a balance is missing.
  std::array<std::optional<qint64>, 2> checkDifference;
  // Every category used in the two years, settled or not, with its totals.
  std::vector<categories::CategoryGroup> categories;
  std::vector<categories::ArchiveSkipped> skipped;
  bool classifiedWhole() const { return unclassified[0].count == 0 && unclassified[1].count == 0; }
};

// Reads the archives of year-1 and year of `folder`. Throws ArchiveError.
Rendiconto buildRendiconto(const QByteArray& folder, int year, const Settings& settings, bool zeroLines);

// The amount as the tool and the export write it: "1250,00", "-" for a
// negative result; empty for none.
QString amountText(const FormLine& line, int column, bool thousands = false);

// The tool's lines: code, text, the amount of the year and of the year
// before, for every row but the headings and the summary's repeated results;
// then "non classificato", the year, count, money in, money out for each
// year with settled movements not classified.
QStringList formToolLines(const Rendiconto& r);

// "Rendiconto per cassa - esercizio 2024"
QString formTitle(int year);

// What the form says under it, in Italian: the amounts not classified in
// each year, the unsettled movements left out, the ministry's check. Each
// with whether it must be shown as a fault (in red).
struct FormNote {
  QString text;
  bool fault = false;
};
std::vector<FormNote> formNotes(const Rendiconto& r);

// The printout's rows, tab-separated: a kind ("Y" the column headings, "H" a
// heading, "L" a line, "T" a total, "R" a result, "B" cassa e banca, "N" a
// note, "F" a note in red), the text, the amount of the year and of the year
// before with thousands dots.
QStringList formPrintRows(const Rendiconto& r);

// The spreadsheet export document of the form ("Rendiconto.xls"): every row
// as the tool writes it (code, text, the two years), the headings with their
// text only, then the notes.
inline const QString kSheetFileName = QStringLiteral("Rendiconto.xls");
QByteArray formSheet(const Rendiconto& r);

}  // namespace fondaro::rendiconto
