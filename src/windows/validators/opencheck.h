// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The check windows a card's small buttons open, each with the card's text
// already in its field.
#include <QString>

class QWidget;

namespace fondaro {

// A tax code of digits only is a company's number: it goes to the VAT check.
void openCodFiscCheck(QWidget* owner, const QString& code);
void openPartitaIvaCheck(QWidget* owner, const QString& number);
void openCartaCheck(QWidget* owner, const QString& number);
void openIbanCheck(QWidget* owner, const QString& iban);

}  // namespace fondaro
