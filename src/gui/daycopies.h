#pragma once
// The day copies the program takes before it writes (core/safetycopies.h):
// before the first write of a program run, on each day, to an archive or the
// password file, that file as it stands goes into the copies folder beside it.
// A copy that cannot be made is reported once (for that file and day, in this
// run) and the write goes on: a missing copy never blocks the user's work.
//
// The editors call it before storing a card, the password change before
// writing the password file; any new window that writes an archive does the
// same, in one call.
#include <QByteArray>
#include <QDate>
#include <QSet>
#include <QString>

class QWidget;

namespace fondaro::gui {

class DayCopies {
 public:
  // Takes today's copy of `file` unless this run already took or tried it
  // today; on failure shows the warning, once, over `parent`.
  void beforeWriting(QWidget* parent, const QByteArray& file);
  void beforeWriting(QWidget* parent, const QString& file);
  // Forgets what this run did (tests: a new run).
  void forget();

 private:
  QDate day_;
  QSet<QByteArray> tried_;
};

// The running program's.
DayCopies& dayCopies();

// The warning shown when the day copy of `file` could not be made, `reason`
// saying why.
QString dayCopyFailedText(const QString& file, const QString& reason);

}  // namespace fondaro::gui
