// SPDX-License-Identifier: GPL-3.0-or-later
#include "validators/opencheck.h"

#include "core/checks.h"
#include "validators/Carta.h"
#include "validators/CodFisc.h"
#include "validators/Iban.h"
#include "validators/PartitaIVA.h"

namespace fondaro {

namespace {
template <class W>
void openWith(QWidget* owner, const QString& text) {
  gui::openPerUse<W>(owner, [&](W& w) { w.setInput(text); });
}
}  // namespace

void openCodFiscCheck(QWidget* owner, const QString& code) {
  if (checks::codFiscGoesToPartitaIva(code)) openWith<TfrmPartitaIva>(owner, code);
  else openWith<TfrmCodFisc>(owner, code);
}

void openPartitaIvaCheck(QWidget* owner, const QString& number) { openWith<TfrmPartitaIva>(owner, number); }

void openCartaCheck(QWidget* owner, const QString& number) { openWith<TfrmCarta>(owner, number); }

void openIbanCheck(QWidget* owner, const QString& iban) { openWith<TfrmIban>(owner, iban); }

}  // namespace fondaro
