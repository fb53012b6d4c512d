#include "gui/daycopies.h"

#include <QDateTime>

#include "core/filepath.h"
#include "core/notice.h"
#include "core/safetycopies.h"
#include "gui/messages.h"

namespace fondaro::gui {

void DayCopies::beforeWriting(QWidget* parent, const QByteArray& file) {
  const QDateTime now = QDateTime::currentDateTime();
  if (day_ != now.date()) {
    day_ = now.date();
    tried_.clear();
  }
  if (tried_.contains(file)) return;
  tried_.insert(file);
  try {
    safety::copyBeforeWriting(file, now);
  } catch (const safety::CopyError& e) {
    const QByteArray name = file.mid(file.lastIndexOf('/') + 1);
    notice(parent, Icon::Warning, dayCopyFailedText(displayPath(name), e.italian()));
  }
}

void DayCopies::beforeWriting(QWidget* parent, const QString& file) { beforeWriting(parent, encodePath(file)); }

void DayCopies::forget() {
  day_ = {};
  tried_.clear();
}

DayCopies& dayCopies() {
  static DayCopies copies;
  return copies;
}

QString dayCopyFailedText(const QString& file, const QString& reason) {
  return QStringLiteral("Attenzione: non è stato possibile fare la copia di sicurezza di «%1» prima di salvare.")
             .arg(file) +
         kParagraphBreak + reason + kParagraphBreak +
         QStringLiteral("Il salvataggio prosegue. Per oggi l'avviso non verrà ripetuto; controllare il disco e lo "
                        "spazio libero.");
}

}  // namespace fondaro::gui
