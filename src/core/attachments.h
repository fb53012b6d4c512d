// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The attachments folder "Documenti_Allegati" in the program folder: one flat
// folder for the files attached to every card, identified by name only. A card
// stores just the names, so a name read from an archive is outside input.
#include <QString>
#include <QStringView>
#include <array>

#include "core/progress.h"
#include "core/replacefile.h"

namespace fondaro {

inline constexpr char kAttachmentsFolderName[] = "Documenti_Allegati";

// The three attachments of a card: each a file name in the attachments folder
// and its description, as the card keeps them (File01..File03, Desc01..Desc03).
struct AttachmentTexts {
  std::array<QString, 3> file;
  std::array<QString, 3> desc;
  bool operator==(const AttachmentTexts&) const = default;
};

// "<program folder>Documenti_Allegati/", with its trailing separator.
QString attachmentsFolder(const QString& programFolder);

// A name that designates a file directly inside the attachments folder and
// nothing else: not empty, not "." or "..", no "/" or "\", no control
// character. Any other name is never opened or written to.
bool isSafeAttachmentName(QStringView name);

// The most characters a card keeps of an attachment's name.
inline constexpr int kAttachmentNameCapacity = 250;

// A name a card can store and give back unchanged: every character in the
// archives' code page (Windows-1252), at most kAttachmentNameCapacity of them.
// A name that would come back as "????.txt" or cut would leave its copy
// orphaned and "Apri" opening nothing.
bool isStorableAttachmentName(QStringView name);

// Copies `source` to `target` through a new file beside the target renamed
// over it (core/replacefile.h), so a failed copy leaves an existing target
// whole. False on failure, with `why` telling. `progress` hears of the bytes
// copied; when it says stop, the new file is removed and Cancelled thrown.
bool copyReplacing(const QString& source, const QString& target, WriteFailure* why = nullptr,
                   const ProgressFn& progress = {});

}  // namespace fondaro
