// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The address-book card as the editor holds it in its controls, and the rules
// that tie it to the stored record: what a new card and a shown record look
// like, what duplicating keeps, which record a save writes, the check a save
// runs first, and the texts the editor shows. The editor window is glue
// around these functions.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "core/card.h"
#include "core/notice.h"
#include "core/records.h"

namespace fondaro {

// The texts by record field (card[cli::Cliente]) and the call-back tick.
struct ClientCard : CardTexts<TCliente> {
  bool ricontatta = false;  // chkRicontatta ticked
};

// An empty new card: every text empty, no call-back, no attachments.
ClientCard newClientCard();

// What showing a stored record puts on the card: the texts decoded and
// trimmed; the tick set ("Sì"), cleared ("No") or, for any other content,
// left as it was (nullopt).
struct ShownClient {
  ClientCard card;
  std::optional<bool> ricontatta;
};
ShownClient showClientRecord(const TCliente& record);

// Turns a stored card into a new card with the same data: only the
// attachments go (the visible fields and the tick stay).
void duplicateClientCard(ClientCard& card);

// The record a save writes: every text trimmed and cut to its capacity;
// Ricontatta "Sì" or "No".
TCliente recordFromClientCard(const ClientCard& card);

// The one check before a save: the card needs a name.
std::optional<Notice> checkClientBeforeSave(const ClientCard& card);

// The printed card ("Scheda informativa"): its title, its 24 rows of caption
// and value as the card on screen holds them (saved or not), and the footer's
// line. Values are the trimmed texts, printed as they are: brackets included.
struct PrintedRow {
  QString caption;
  QString value;
};
inline constexpr int kPrintedRows = 24;
QString printedTitle();
std::array<PrintedRow, kPrintedRows> printedRows(const ClientCard& card);
// "Stampa eseguita in data dd/mm/yyyy alle ore hh:mm:ss".
QString printedFooter(const QDateTime& when);

// The 112 province codes of the two province boxes, in their list order.
const QStringList& provinceCodes();

namespace clientTexts {
QString nameNeeded();
QString savedNew();
QString savedChanges();
QString duplicateNeedsStoredCard();
QString duplicateReady();
QString emptyArchive();
QString pdfName();
QString pdfDone();
}  // namespace clientTexts

}  // namespace fondaro
