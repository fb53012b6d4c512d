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

struct Pair {
  uint32_t payment = 0;
  uint32_t movement = 0;
};

// Every pair where the payment may settle the movement, by payment then
// movement.
std::vector<Pair> candidatePairs(const std::vector<Payment>& payments, const std::vector<Unpaid>& movements);

// The pairs best first, as the choice takes them.
std::vector<Pair> rankPairs(const std::vector<Payment>& payments, const std::vector<Unpaid>& movements,
                            std::vector<Pair> pairs);

// What the user decided for one payment.
struct Override {
  enum class Kind { Ranked, Refused, Chosen };
  Kind kind = Kind::Ranked;
  uint32_t movement = 0;  // for Chosen
};

// The one-to-one choice over `pairs`: for each payment, the index of the
// movement it settles, or nothing. `overrides` is empty or one per payment: a
// refused payment settles nothing; a chosen pair is taken first (payments in
// order) when it is a candidate pair and its movement is free, else the
// payment settles nothing; the other payments are ranked.
std::vector<std::optional<uint32_t>> chooseOneToOne(const std::vector<Payment>& payments,
                                                     const std::vector<Unpaid>& movements,
                                                     const std::vector<Pair>& pairs,
                                                     const std::vector<Override>& overrides = {});

// What settling writes. Ricevuta: `head` followed by " del " and the booking
// date, the head cut so that the whole fits the field ("0304198765432 del
// 05/02/2024"). Note: the note with " - Pagato il dd/mm/yyyy" at its end, the
// note cut first so that this fits whole ("Pagato il dd/mm/yyyy" when the note
// is empty).
QString settledReceipt(QStringView head, const QDate& booked);
QString settledNote(QStringView note, const QDate& booked);

}  // namespace fondaro::matching
