// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The movement card as the editor holds it in its controls, and the rules that
// tie it to the stored record: which record a save writes, which checks a save
// runs first, and the texts the editor shows. The editor window is glue around
// these functions.
#include <QString>
#include <optional>
#include <vector>

#include "core/card.h"
#include "core/notice.h"
#include "core/records.h"

namespace fondaro {

// The texts by record field (card[mov::Causale]) and the three choices.
struct MovementCard : CardTexts<TMovimento> {
  bool entrata = true;   // optEntrata chosen
  bool uscita = false;   // optUscita chosen
  bool saldato = false;  // chkSaldato ticked
};

// An empty new card: today's date, "0" days of notice, amount "0,00", a
// movement in, not settled, no attachments.
MovementCard newCard();

// What showing a stored record puts on the card. Texts are decoded and
// trimmed. A flag that holds neither "Sì" nor "No" leaves the matching control
// as it was, so the flags come back as "set, cleared, or untouched".
struct ShownRecord {
  MovementCard card;  // texts; the three bools are not meaningful here
  std::optional<bool> entrata, uscita, saldato;
};
ShownRecord showRecord(const TMovimento& record);

// Turns the card into a new card for duplication: today's date, no due date,
// not settled, no attachments; everything else stays.
void duplicateCard(MovementCard& card);

// The record a save writes: every field, trimmed and cut to its capacity;
// Totale is the sign of the chosen option followed by the amount.
TMovimento recordFromCard(const MovementCard& card);

// The card fields a save check can send the focus to.
enum class CardField { Causale, Data, DataSca, Preavviso, Pagatore, Beneficiario, Importo, Entrata, Email };

struct SaveProblem {
  Notice notice;
  CardField focus;
};

// The checks a save runs, in order, after the amount has been normalised; the
// first that fails is returned. Beyond the eight checks of the editor a card
// whose movement type is not chosen, or whose amount is not an amount text
// that fits the record, is refused so that no unreadable amount is stored.
std::optional<SaveProblem> checkBeforeSave(const MovementCard& card);

// What the e-mail button hands to the shell, or a problem when there is no
// address. "?", "&", "#" and "%" in the address are percent-encoded so that an
// address cannot add parameters to the message.
struct MailResult {
  std::optional<QString> openText;
  std::optional<SaveProblem> problem;
};
MailResult mailLink(const QString& emailField);

// The printed card ("Scheda Movimento"): each value object of the printout,
// named as the editor control it shows, with the card's text, trimmed; the
// kind of movement and the settlement as words.
struct PrintedValue {
  QStringView object;
  QString value;
};
std::vector<PrintedValue> printedValues(const MovementCard& card);

namespace movementTexts {
QString savedNew();
QString savedChanges();
QString duplicateNeedsStoredCard();
QString duplicateReady();
QString emptyArchive();
}  // namespace movementTexts

}  // namespace fondaro
