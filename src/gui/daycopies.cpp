// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/daycopies.h"

#include <QApplication>
#include <QWidget>

#include "core/filepath.h"
#include "core/notice.h"
#include "core/safetycopies.h"
#include "gui/messages.h"

namespace fondaro::gui {

void warnOfFailedDayCopies() {
  safety::installDayCopies([](const QByteArray& file, const safety::CopyError& e) {
    // The write asks before it takes any lock: the user may read at leisure.
    QWidget* front = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                        : QApplication::activeWindow();
    const QByteArray name = file.mid(file.lastIndexOf('/') + 1);
    notice(front, Icon::Warning, dayCopyFailedText(displayPath(name), e.italian()));
  });
}

QString dayCopyFailedText(const QString& file, const QString& reason) {
  return QStringLiteral("Attenzione: non è stato possibile fare la copia di sicurezza di «%1» prima di salvare.")
             .arg(file) +
         kParagraphBreak + reason + kParagraphBreak +
         QStringLiteral("Il salvataggio prosegue. Per oggi l'avviso non verrà ripetuto; controllare il disco e lo "
                        "spazio libero.");
}

}  // namespace fondaro::gui
