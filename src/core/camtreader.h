// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The CAMT.053 reader (ISO 20022 bank-to-customer statement, read through
// QXmlStreamReader). The account reports (camt.052) and notifications
// (camt.054) have the same entries and read the same way.
#include <QByteArray>

#include "core/progress.h"
#include "core/statement.h"

namespace fondaro {

// Reads the whole statement or throws StatementError.
Statement readCamt(const QByteArray& bytes, const ProgressFn& progress = {});

}  // namespace fondaro
