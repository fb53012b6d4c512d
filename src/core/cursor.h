// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Browsing and saving an editor's card, the same for both editors.
//
// An editor knows one number: the position of the card on screen (from 1), or
// 0 for a new card. Each step opens the archive (creating it empty when there
// is none), reads or writes, closes, and tells the editor what to show:
//
//   first      empty archive -> Empty; else record 1
//   last       empty archive -> Empty; else the last record
//   next       empty archive -> Empty, and the card forgets its position;
//              on the last record -> Stay; else position + 1 (a new card: 1)
//   previous   on record 1 -> Stay, whatever the archive holds;
//              empty archive -> Empty; a new card -> 1; else position - 1
//   save       a stored card is written in place, a new card appended; the
//              position written is returned
//
// An archive failure throws ArchiveError and leaves the card as it was; when
// save's record reached the file unconfirmed, the error's writtenAt() says where.
#include <QString>

#include "core/archive.h"

namespace fondaro {

template <class Rec>
struct CursorMove {
  enum Kind { Show, Empty, Stay };
  Kind kind = Stay;
  qint64 position = 0;         // Show: the record's position
  Rec record{};                // Show: the record read
  bool forgetPosition = false; // Empty: the card becomes a new card
};

template <class Rec>
class RecordCursor {
 public:
  explicit RecordCursor(QString archivePath) : path_(std::move(archivePath)) {}

  CursorMove<Rec> first() const {
    return step([](qint64) -> qint64 { return 1; });
  }
  CursorMove<Rec> last() const {
    return step([](qint64 n) { return n; });
  }
  CursorMove<Rec> next(qint64 current) const {
    return step([current](qint64 n) -> qint64 { return current < n ? current + 1 : 0; },
                /*forgetOnEmpty=*/true);
  }
  CursorMove<Rec> previous(qint64 current) const {
    if (current == 1) {
      Archive<Rec>::OpenOrCreate(path_).Close();
      return {};
    }
    return step([current](qint64) -> qint64 { return current == 0 ? 1 : current - 1; });
  }
  qint64 save(qint64 current, const Rec& record) const {
    Archive<Rec> a = Archive<Rec>::OpenOrCreate(path_);
    qint64 p = current;
    if (current != 0) a.WriteAt(current, record);
    else p = a.Append(record);
    try {
      a.Close();
    } catch (ArchiveError& e) {
      e.setWrittenAt(p);  // the bytes went in before the close failed
      throw;
    }
    return p;
  }

 private:
  // Opens, counts, picks the target (0: stay), reads it, closes.
  template <class Target>
  CursorMove<Rec> step(Target&& target, bool forgetOnEmpty = false) const {
    Archive<Rec> a = Archive<Rec>::OpenOrCreate(path_);
    CursorMove<Rec> m;
    const qint64 n = a.Count();
    if (n == 0) {
      a.Close();
      m.kind = CursorMove<Rec>::Empty;
      m.forgetPosition = forgetOnEmpty;
      return m;
    }
    const qint64 to = target(n);
    if (to != 0) {
      m.kind = CursorMove<Rec>::Show;
      m.position = to;
      m.record = a.ReadAt(to);
    }
    a.Close();
    return m;
  }

  QString path_;
};

}  // namespace fondaro
