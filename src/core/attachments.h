#pragma once
// The attachments folder "Documenti_Allegati" in the program folder: one flat
// folder for the files attached to every card, identified by name only. A card
// stores just the names, so a name read from an archive is outside input.
#include <QString>
#include <QStringView>

namespace fondaro {

inline constexpr char kAttachmentsFolderName[] = "Documenti_Allegati";

// "<program folder>Documenti_Allegati/", with its trailing separator.
QString attachmentsFolder(const QString& programFolder);

// A name that designates a file directly inside the attachments folder and
// nothing else: not empty, not "." or "..", no "/" or "\", no control
// character. Any other name is never opened or written to.
bool isSafeAttachmentName(QStringView name);

// Copies `source` to `target` through a new file beside the target renamed
// over it, so a failed copy leaves an existing target whole. False on failure.
bool copyReplacing(const QString& source, const QString& target);

}  // namespace fondaro
