// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fixed-record archive files: yearly movement archives "<yyyy>.eur" and the
// address book "Clienti.pro". A file is a flat run of records with no header;
// the count is size / record size and a trailing fragment is never read.
// Every user action opens a file, reads or writes, and closes it.
//
// Paths are the operating system's bytes (see core/filepath.h). The overloads
// taking text accept what decodePath gave (a window label's path) and any
// ordinary name, and restore the bytes with encodePath.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <vector>

#include "core/records.h"
#include "core/usererror.h"

namespace fondaro {

class ArchiveError : public UserError {
 public:
  enum class Op { Open, Create, Stat, Read, Write, Sync, Close, Position };
  // What was wrong, where the system's error number does not say it plainly.
  enum class Cause {
    System,       // sysError tells
    NotRegular,   // a FIFO, a device or a socket under the archive's name
    MissingLinkTarget,  // a symbolic link whose target does not exist
  };
  ArchiveError(Op op, QByteArray path, int sysError, Cause cause = Cause::System);
  Op op() const { return op_; }
  Cause cause() const { return cause_; }
  int sysError() const { return err_; }
  // The path as decodePath gives it; nativePath() has the bytes.
  QString path() const;
  const QByteArray& nativePath() const { return path_; }
  // A short English description for logs and the command-line tool.
  QString describe() const;
  Kind errorKind() const override;
  QString english() const override { return describe(); }
  // The windows' words: archiveAccessMessage().
  QString italian() const override;
  // The position whose record's bytes are in the file although the disk did
  // not confirm them (a failed sync or close after the write); 0 when no
  // record was written. The record counts as stored there: writing it again
  // goes to that position, never to a new one.
  qint64 writtenAt() const { return writtenAt_; }
  void setWrittenAt(qint64 p) { writtenAt_ = writtenFrom_ = p; }
  // For a batch append: the first position of the batch that is in the file
  // (records writtenFrom() to writtenAt() are); equal to writtenAt() otherwise.
  qint64 writtenFrom() const { return writtenFrom_; }
  void setWritten(qint64 first, qint64 last) {
    writtenFrom_ = first;
    writtenAt_ = last;
  }

 private:
  Op op_;
  Cause cause_;
  QByteArray path_;
  int err_;
  qint64 writtenAt_ = 0;
  qint64 writtenFrom_ = 0;
};

// The text every editor shows when an archive cannot be used.
QString archiveAccessMessage();
// The text an editor shows when its card reached position p of the archive
// but the disk did not confirm the write.
QString unconfirmedWriteMessage(qint64 p);

struct WriteLockHolder;

// An open archive file of fixed-size records; untyped, see Archive<Rec>.
//
// Every write passes core/writehook.h first (the day's safety copy).
//
// Every write (append, batch, in-place) takes the file's advisory write lock
// and then makes sure the name still names the open file: a restore may have
// put another file in its place meanwhile (see FileHold), and records written
// into the replaced one would be lost. The file is then reopened by its name
// and the write goes there.
class RecordFile {
 public:
  enum class Access { ReadOnly, ReadWrite };

  // Opens the existing file for reading and writing; only when no file of that
  // name exists is a new empty one created. An existing file that cannot be
  // opened is an error and is never truncated or replaced; so is a folder, a
  // pipe or a device of that name.
  // A dangling symbolic link is refused too: the file it names is not created.
  static RecordFile openOrCreate(const QByteArray& path, int recordSize);
  static RecordFile openOrCreate(const QString& path, int recordSize);
  // Opens an existing plain file; never creates one.
  static RecordFile openExisting(const QByteArray& path, int recordSize, Access access);
  static RecordFile openExisting(const QString& path, int recordSize, Access access);

  RecordFile(RecordFile&& other) noexcept;
  RecordFile& operator=(RecordFile&& other) noexcept;
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;
  ~RecordFile();

  int recordSize() const { return recordSize_; }
  const QByteArray& path() const { return path_; }
  bool isOpen() const { return fd_ >= 0; }

  qint64 count() const;
  // Bytes after the last whole record.
  qint64 trailingBytes() const;
  // Position p counts from 1 and must be within 1..count.
  void readAt(qint64 p, void* record) const;
  // Rewrites one record in place, under the same lock as an append.
  void writeAt(qint64 p, const void* record);
  // Writes after the last whole record under an advisory lock, so that several
  // running copies appending at once never write the same position. Returns
  // the new position.
  qint64 append(const void* record);

  // Many records at once (a batch from the tool, a bank statement): under one
  // lock, written in blocks of whole records, each synced before the next (a
  // power cut never leaves a later block on disk after a hole where an earlier
  // one was); a sync that fails ends the batch there.
  // `choose(count)` runs with the lock held, given the number of records
  // then in the file, and returns the bytes of the records to append (a whole
  // number of records, possibly none): a check against what is stored made
  // there cannot race another copy appending the same records. Returns the
  // position of the first record appended and how many were.
  // When a write or the sync fails, the error's writtenFrom() to writtenAt()
  // are the positions whose records are whole in the file (writtenAt() 0 when
  // none is): those records count as stored, as for a single append.
  struct Appended {
    qint64 first = 0;
    qint64 count = 0;
  };
  Appended appendChosen(const std::function<QByteArray(qint64 count)>& choose);
  // The same with the records in several pieces (each a whole number of
  // records, written in order), which the caller keeps alive until the return.
  Appended appendBlocks(const std::function<std::vector<QByteArrayView>(qint64 count)>& choose);
  Appended appendAll(const void* records, qint64 n);
  // The same with the records made while they are written: `next()` gives
  // the next piece (a whole number of records, kept alive until the following
  // call), a null view after the last. A batch of any size then needs memory
  // for one piece only.
  Appended appendMade(const std::function<QByteArrayView()>& next);

  void close();

  // The write lock held over several reads and writes: for a writer that
  // decides under the lock what to write (or under the locks of several
  // archives, taken in one order: the yearly archives in year order). hold()
  // passes the write hook first (the day copy, taken with no lock held), then
  // takes the lock on the file the name names (reopening it as every write
  // does); until the holder goes, the writes made through this file take no
  // lock and no copy of their own. The file must not move while held.
  class Hold {
   public:
    Hold(Hold&& other) noexcept;
    Hold& operator=(Hold&&) = delete;
    Hold(const Hold&) = delete;
    ~Hold();

   private:
    friend class RecordFile;
    Hold(RecordFile* file);
    RecordFile* file_;
    std::unique_ptr<WriteLockHolder> lock_;
  };
  Hold hold();

  // Holds a shared lock that appends and in-place writes of every running
  // copy wait for while `work(fd)` reads the file through fd (with pread, or
  // as the source of a copy in the kernel): what it reads is whole records as
  // they stood when the lock was taken (a safety copy), a trailing fragment
  // included. A file opened read-only works too.
  void readLocked(const std::function<void(int fd)>& work) const;

  // Reads the file in large blocks of whole records starting at record 1 and
  // calls visit(firstPosition, bytes, records) for each block. Stops when visit
  // returns false. A read failure throws after the blocks before it were given.
  template <class Visit>
  void scanBlocks(Visit&& visit, qint64 blockBytes = kScanBlockBytes) const;

  static constexpr qint64 kScanBlockBytes = 1 << 20;

 private:
  RecordFile(int fd, QByteArray path, int recordSize);
  qint64 fileSize() const;
  // Reads up to n bytes at offset; fewer only at the end of the file.
  qint64 readSome(qint64 offset, void* buf, qint64 n) const;
  void writeFully(qint64 offset, const void* buf, qint64 n);
  // Writes without syncing; returns the bytes written before a failure and
  // the error number (0 when all were written).
  qint64 writeSome(qint64 offset, const void* buf, qint64 n, int* error);
  // Takes the write lock on the file the name names now (reopening it when a
  // new file took the name), released when the returned holder goes.
  struct WriteLock;
  friend struct WriteLockHolder;
  void lockCurrent(WriteLock& lock);
  // What every write does first: the write hook, then lockCurrent; nothing
  // while a Hold has both done.
  void prepareWrite(WriteLock& lock);
  bool namesOpenFile() const;
  // After a failed write under the lock: cuts what follows the last whole
  // record, so that the archive reads whole at once.
  void cutFragment(qint64 wholeRecords);
  void sync(qint64 firstPosition, qint64 lastPosition);
  // Writes the pieces `next()` gives (see appendMade) after the n records
  // there, with the write lock held.
  Appended writeBatch(qint64 n, const std::function<QByteArrayView()>& next);
  [[noreturn]] void fail(ArchiveError::Op op, int err) const;

  int fd_ = -1;
  QByteArray path_;
  int recordSize_ = 0;
  bool held_ = false;  // a Hold has the write lock
};

template <class Visit>
void RecordFile::scanBlocks(Visit&& visit, qint64 blockBytes) const {
  const qint64 perBlock = blockBytes / recordSize_ > 0 ? blockBytes / recordSize_ : 1;
  // Not zero-filled: every byte visited was read first.
  const qint64 size = perBlock * recordSize_;
  const std::unique_ptr<uint8_t[]> buf(new uint8_t[size_t(size)]);
  qint64 offset = 0;
  qint64 pos = 1;
  for (;;) {
    const qint64 got = readSome(offset, buf.get(), size);
    const qint64 whole = got / recordSize_;
    if (whole > 0 && !visit(pos, static_cast<const uint8_t*>(buf.get()), whole)) return;
    if (got < size) return;  // end of file; a fragment is ignored
    offset += got;
    pos += whole;
  }
}

// The write lock of a data file about to be replaced whole (a restore puts a
// copy's file in its place): every append and in-place write of every running
// copy waits while it is held, and a safety copy made through fd() sees the
// file as it stands. The lock is taken on the file that the name names when it
// is granted; writers that had opened the file before it was replaced find a
// new file under the name once the hold is released, and write into that one.
// Holds on several files are taken in one order by whoever takes them
// (the schedules' lock first, then the data files by name), so that two
// restores cannot wait for each other.
class FileHold {
 public:
  // Opens `path` for writing and takes its lock. A missing file is created
  // empty when `create` (created() then tells), else nothing is held (held()
  // false). Throws ArchiveError when the file cannot be opened or created.
  static FileHold take(const QByteArray& path, bool create);

  FileHold(FileHold&& other) noexcept;
  FileHold& operator=(FileHold&& other) noexcept;
  FileHold(const FileHold&) = delete;
  FileHold& operator=(const FileHold&) = delete;
  ~FileHold();

  bool held() const { return fd_ >= 0; }
  // The locked file, open for reading and writing; read it with pread.
  int fd() const { return fd_; }
  const QByteArray& path() const { return path_; }
  bool created() const { return created_; }
  // Removes the file when it is still the empty one this hold created (a
  // restore that could not put its file there).
  void removeIfCreatedEmpty();
  // Releases the lock (closing the file).
  void release();

 private:
  FileHold(int fd, QByteArray path, bool created) : fd_(fd), path_(std::move(path)), created_(created) {}
  int fd_ = -1;
  QByteArray path_;
  bool created_ = false;
};

// A typed archive of records Rec (TMovimento or TCliente).
template <class Rec>
class Archive {
 public:
  static Archive OpenOrCreate(const QByteArray& path) {
    return Archive(RecordFile::openOrCreate(path, int(sizeof(Rec))));
  }
  static Archive OpenOrCreate(const QString& path) {
    return Archive(RecordFile::openOrCreate(path, int(sizeof(Rec))));
  }
  static Archive OpenExisting(const QByteArray& path, RecordFile::Access access) {
    return Archive(RecordFile::openExisting(path, int(sizeof(Rec)), access));
  }
  static Archive OpenExisting(const QString& path, RecordFile::Access access) {
    return Archive(RecordFile::openExisting(path, int(sizeof(Rec)), access));
  }

  qint64 Count() const { return file_.count(); }
  Rec ReadAt(qint64 p) const {
    Rec r;
    file_.readAt(p, &r);
    return r;
  }
  void WriteAt(qint64 p, const Rec& r) { file_.writeAt(p, &r); }
  qint64 Append(const Rec& r) { return file_.append(&r); }
  // See RecordFile::appendChosen: `choose(count)` runs under the lock and
  // gives the records to append.
  RecordFile::Appended AppendChosen(const std::function<std::vector<Rec>(qint64 count)>& choose) {
    std::vector<Rec> recs;
    return file_.appendBlocks([&](qint64 count) {
      recs = choose(count);
      return std::vector<QByteArrayView>{
          QByteArrayView(reinterpret_cast<const char*>(recs.data()), qsizetype(recs.size() * sizeof(Rec)))};
    });
  }
  RecordFile::Appended AppendAll(std::span<const Rec> recs) {
    return file_.appendAll(recs.data(), qint64(recs.size()));
  }
  void Close() { file_.close(); }

  // Visits every whole record in file order: visit(position, RecordView<Rec>)
  // returning void, or bool where false stops the scan.
  template <class Visit>
  void Scan(Visit&& visit, qint64 blockBytes = RecordFile::kScanBlockBytes) const {
    file_.scanBlocks(
        [&](qint64 first, const uint8_t* bytes, qint64 n) {
          for (qint64 i = 0; i < n; ++i) {
            RecordView<Rec> v(bytes + i * qint64(sizeof(Rec)));
            if constexpr (std::is_same_v<decltype(visit(first + i, v)), bool>) {
              if (!visit(first + i, v)) return false;
            } else {
              visit(first + i, v);
            }
          }
          return true;
        },
        blockBytes);
  }

  RecordFile& file() { return file_; }
  const RecordFile& file() const { return file_; }

 private:
  explicit Archive(RecordFile f) : file_(std::move(f)) {}
  RecordFile file_;
};

using MovementArchive = Archive<TMovimento>;
using ClientArchive = Archive<TCliente>;

// "<program folder><yyyy>.eur"
QByteArray movementArchivePath(const QByteArray& programFolder, const QString& yearText);
// "<program folder>Clienti.pro"
QByteArray clientArchivePath(const QByteArray& programFolder);
// The same for a folder held as text (decodePath); the result is text too.
QString movementArchivePath(const QString& programFolder, const QString& yearText);
QString clientArchivePath(const QString& programFolder);

}  // namespace fondaro
