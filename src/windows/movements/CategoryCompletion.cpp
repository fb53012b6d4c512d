// SPDX-License-Identifier: GPL-3.0-or-later
#include "movements/CategoryCompletion.h"

#include <QCompleter>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QStringListModel>

#include "core/archive.h"
#include "core/categories.h"
#include "core/filepath.h"
#include "gui/fields.h"

namespace fondaro {

namespace {

// What the names were read from: the archives' path, size and time.
QString signatureOf(const QFileInfo& year, const QFileInfo& before) {
  QString s;
  for (const QFileInfo& f : {year, before}) {
    s += f.absoluteFilePath() + u'|';
    if (f.exists()) s += QString::number(f.size()) + u'|' + QString::number(f.lastModified().toMSecsSinceEpoch());
    s += u';';
  }
  return s;
}

}  // namespace

void attachCategoryCompletion(QLineEdit* field, std::function<QString()> archivePath) {
  auto* model = new QStringListModel(field);
  auto* completer = new QCompleter(model, field);
  completer->setCaseSensitivity(Qt::CaseInsensitive);
  completer->setCompletionMode(QCompleter::PopupCompletion);
  completer->setFilterMode(Qt::MatchStartsWith);
  completer->setModelSorting(QCompleter::UnsortedModel);
  completer->setMaxVisibleItems(12);
  field->setCompleter(completer);
  auto signature = std::make_shared<QString>();
  gui::onKeyDown(field, [model, signature, archivePath = std::move(archivePath)](QKeyEvent*) {
    const QFileInfo archive(archivePath());
    bool isYear = false;
    const int year = archive.completeBaseName().toInt(&isYear);
    if (!isYear || archive.completeBaseName().size() != 4) return false;
    const QFileInfo before(archive.dir(), QString::number(year - 1) + u".eur"_qs);
    const QString now = signatureOf(archive, before);
    if (now == *signature) return false;
    *signature = now;
    try {
      model->setStringList(categories::usedNames(encodePath(archive.absolutePath() + u'/'), year));
    } catch (const ArchiveError&) {
      // No names to offer: typing goes on as without completion.
      model->setStringList({});
    }
    return false;
  });
}

}  // namespace fondaro
