// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The scan shared by the lists that read fields they may fail to understand
// (the due list, the journal): every record in file order, a record whose
// needed field cannot be read is skipped and reported, and the scan goes on,
// so one damaged record never hides the ones after it.
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

#include "core/archive.h"

namespace fondaro {

// A record a list skipped because a field it needs cannot be read.
struct SkippedRecord {
  qint64 position = 0;
  QString reason;  // English, for the tool: "due date \"31/02/2024\" is not a date"
};
// The warning a window shows after a list that skipped records: the positions,
// at most the first ten, then "...".
QString skippedPositionsText(const std::vector<SkippedRecord>& skipped);

// Why a record is skipped: `what`, the stored text in double quotes, `problem`
// ("due date \"31/02/2024\" is not a date").
QString unreadableReason(QStringView what, QByteArrayView stored, QStringView problem);

// Calls read(position, view) for every record in file order. read returns
// nullopt when it has read the record (listed or not), or why a field cannot
// be read: that record is added to the skipped ones, which are returned.
template <class Rec, class Read>
std::vector<SkippedRecord> scanSkipping(const Archive<Rec>& archive, Read&& read) {
  std::vector<SkippedRecord> skipped;
  archive.Scan([&](qint64 pos, RecordView<Rec> v) {
    std::optional<QString> why = read(pos, v);
    if (why) skipped.push_back({pos, std::move(*why)});
  });
  return skipped;
}

}  // namespace fondaro
