// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a list window hands back to the window that opened it: the record
// behind the line the user chose, with its position in the archive, so that
// an editor can show it as a stored card ("Salva" there rewrites it in place).
#include <optional>

#include "core/archive.h"
#include "core/field.h"
#include "core/lists.h"

namespace fondaro::gui {

template <class Rec>
struct StoredRecord {
  Rec record;
  qint64 position = 0;  // in the archive, from 1
};

// The record of the archive at `path` whose list line `find` says is the
// chosen `line`. A blank line, a line that matches no record or an archive
// that cannot be read give nothing, and show nothing.
template <class Rec, class Find>
std::optional<StoredRecord<Rec>> chosenRecord(const QString& path, const QString& line, Find find) {
  if (trimControl(line).isEmpty()) return std::nullopt;
  try {
    auto archive = Archive<Rec>::OpenOrCreate(path);
    const std::optional<ListEntry> hit = find(archive, line);
    if (!hit) return std::nullopt;
    StoredRecord<Rec> chosen{archive.ReadAt(hit->position), hit->position};
    archive.Close();
    return chosen;
  } catch (const ArchiveError&) {
    return std::nullopt;
  }
}

// The same, by the record's list line.
template <class Rec>
std::optional<StoredRecord<Rec>> chosenRecord(const QString& path, const QString& line) {
  return chosenRecord<Rec>(path, line, [](const Archive<Rec>& a, QStringView l) { return lastRecordWithLine(a, l); });
}

}  // namespace fondaro::gui
