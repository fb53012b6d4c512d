// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The parts of the safety copies window that are data or plain text work: the
// list's columns and the words for a copy (its kind, time, size and files).
#include <QList>
#include <QString>

#include "core/safetycopies.h"
#include "gui/gridwindow.h"

namespace fondaro::copieParts {

using CopiesModel = gui::GridModelOf<QList<safety::CopyInfo>>;
CopiesModel* makeCopiesModel(QObject* parent);
// The list's look: no lines between the cells, rows with air around their text.
gui::GridLook copiesLook();

QString kindText(safety::CopyKind k);
QString sizeText(qint64 bytes);
QString whenText(const QDateTime& t);
// The files of a copy as the user knows them: the archives by name, the
// password file, the attachments counted.
QString filesText(const QList<QByteArray>& names);
// The names in a copy's manifest; none when it has none or it cannot be read.
QList<QByteArray> manifestNames(const QByteArray& copy);

}  // namespace fondaro::copieParts
