// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which unpaid movement a payment of the bank settles: an invoice, a rent or a
// fee entered unpaid with its due date, and later paid through the bank.
//
// A movement awaits payment when its Saldato is not "Sì" and its Ricevuta is
// empty. A payment may settle it when the money goes the same way (Entrata for
// money in, Uscita for money out), the Importo is the payment's to the cent,
// the movement is in the archive of the payment's booking year or of the year
// before, and its DataSca is from 60 days before to 30 days after the booking
// date.
//
// Every (payment, movement) pair is ranked, best first: the counterparty
// agrees, then the fewer days between DataSca and the booking date, then the
// older DataSca, the older archive, the lower position, the earlier payment.
// Pairs are taken in that order while neither side is taken, so a payment
// settles at most one movement, a movement is settled by at most one payment,
// and the order of the statement changes nothing (a weekly debit settles its
// own week, not last week's).
//
// Everything here is pure: no file is read.
#include <QDate>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace fondaro::matching {

inline constexpr int kDaysBefore = 60;  // a DataSca up to 60 days before the booking date
inline constexpr int kDaysAfter = 30;   // or up to 30 days after it

// A payment of the statement that may settle a movement.
struct Payment {
  QDate booked;
  qint64 cents = 0;  // signed: above zero money in
  QString counterparty;
};

// A stored movement awaiting payment, as far as the matching needs it.
struct Unpaid {
  int year = 0;         // of its archive
  qint64 position = 0;  // from 1
  bool in = false;
  qint64 cents = 0;     // its Importo
  QDate due;            // its DataSca
  QString party;        // Pagatore for money in, Beneficiario for money out
};

// The movement of `record` (3414 bytes of a yearly archive) when it awaits
// payment and can be paid: Saldato not "Sì", Ricevuta empty, Entrata or Uscita
// "Sì", an Importo read to the cent and a valid DataSca.
std::optional<Unpaid> awaitingPayment(const uint8_t* record, int year, qint64 position);

// Whether `payment` may settle `movement` (direction, amount, archive year and
// the window of due dates).
bool mayPay(const Payment& payment, const Unpaid& movement);

// A name as the comparison sees it: accents removed, case folded, runs of
// blanks made one, trimmed.
QString foldName(QStringView name);
// The counterparty agrees: equal once folded, or one contains the other as
// whole words. An empty name agrees with nothing.
bool partiesAgree(QStringView a, QStringView b);

// What the user decided for one payment.
struct Override {
  enum class Kind { Ranked, Refused, Chosen };
  Kind kind = Kind::Ranked;
  uint32_t movement = 0;  // for Chosen
};

// The candidates of a set of payments among a set of movements, and the
// one-to-one choice. The pairs are never all made: each payment's candidates
// are enumerated best first from the movements of its amount sorted by due
// date, outwards from its booking date, and merged (an archive where nothing
// is ever marked paid may give every payment thousands of candidates).
class Matcher {
 public:
  Matcher(const std::vector<Payment>& payments, const std::vector<Unpaid>& movements);
  ~Matcher();
  Matcher(const Matcher&) = delete;
  Matcher& operator=(const Matcher&) = delete;

  // Payment p's candidates, best first, at most `limit` of them.
  std::vector<uint32_t> candidates(uint32_t p, size_t limit) const;
  // Whether payment p may settle movement m.
  bool isCandidate(uint32_t p, uint32_t m) const;

  // For each payment, the index of the movement it settles, or nothing.
  // `overrides` is empty or one per payment: a refused payment settles
  // nothing; a chosen movement is taken first (payments in order) when it is
  // a candidate of the payment and free, else the payment settles nothing;
  // the other payments are ranked.
  std::vector<std::optional<uint32_t>> choose(const std::vector<Override>& overrides = {}) const;

  struct Data;

 private:
  std::unique_ptr<Data> d_;
};

// The same, for a set once: every pair of a payment and a movement it may
// settle (tests, small sets), and the choice.
struct Pair {
  uint32_t payment = 0;
  uint32_t movement = 0;
};
std::vector<Pair> candidatePairs(const std::vector<Payment>& payments, const std::vector<Unpaid>& movements);
std::vector<std::optional<uint32_t>> chooseOneToOne(const std::vector<Payment>& payments,
                                                     const std::vector<Unpaid>& movements,
                                                     const std::vector<Override>& overrides = {});

// What settling writes. Ricevuta: `head` followed by " del " and the booking
// date, the head cut so that the whole fits the field ("0304198765432 del
// 05/02/2024"). Note: the note with " - Pagato il dd/mm/yyyy" at its end, the
// note cut first so that this fits whole ("Pagato il dd/mm/yyyy" when the note
// is empty).
QString settledReceipt(QStringView head, const QDate& booked);
QString settledNote(QStringView note, const QDate& booked);

}  // namespace fondaro::matching
