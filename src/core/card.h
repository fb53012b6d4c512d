// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An editor's card as the core sees it: one text per record field, and the
// table that binds each of those texts to the editor control that shows it.
//
// A binding says "control `txtCausale` shows field Causale, typed up to the
// field's capacity unless a typing limit says less". The editors copy card to
// controls and back through their table, the core copies card to record and
// back through the same table, so no field is ever listed twice by hand. The
// flags and computed fields (Entrata, Uscita, Saldato, Totale, Ricontatta) are
// bound to no text control: the named rules of each record kind handle them.
#include <QString>
#include <QStringView>
#include <array>
#include <span>

#include "core/records.h"

namespace fondaro {

struct Binding {
  QStringView control;  // the control's objectName: a line edit or a hidden label
  int field;            // the record field's index
  int typingLimit = 0;  // how much the user may type when less than the capacity; 0: the capacity
};

// A binding written for one record kind: it takes only a field of that kind,
// so a movement table cannot name an address-book field.
template <class Rec>
struct FieldBinding : Binding {
  constexpr FieldBinding(QStringView c, typename Rec::Field f, int limit = 0) : Binding{c, f, limit} {}
};

// The typing limit of a bound control: its own, or its field's capacity.
template <class Rec>
int typingLimit(const Binding& b) {
  return b.typingLimit > 0 ? b.typingLimit : Rec::fields()[b.field].capacity;
}

// The controls of the movement editor: eighteen text fields and the six hidden
// attachment labels.
std::span<const FieldBinding<TMovimento>> movementBindings();
// The controls of the address-book editor: twenty-nine text fields (the two
// province boxes included) and the six hidden attachment labels.
std::span<const FieldBinding<TCliente>> clientBindings();
// A person imported from the address book into a movement card, as payer (name,
// contact, tax code, e-mail, VAT number) or as beneficiary (name, contact):
// each binding's control is a movement-editor control, its field a field of
// the address-book record. Nothing else of the movement card is touched.
std::span<const FieldBinding<TCliente>> payerImportBindings();
std::span<const FieldBinding<TCliente>> beneficiaryImportBindings();

template <class Rec>
std::span<const FieldBinding<Rec>> bindingsOf();
template <>
inline std::span<const FieldBinding<TMovimento>> bindingsOf<TMovimento>() { return movementBindings(); }
template <>
inline std::span<const FieldBinding<TCliente>> bindingsOf<TCliente>() { return clientBindings(); }

// The texts of a card, by record field. Fields bound to no control stay empty.
template <class Rec>
struct CardTexts {
  std::array<QString, Rec::FieldCount> text;
  QString& operator[](int f) { return text[size_t(f)]; }
  const QString& operator[](int f) const { return text[size_t(f)]; }
};

// Every bound field of the record, decoded and trimmed as every reader trims.
template <class Rec>
CardTexts<Rec> textsFromRecord(const Rec& record) {
  CardTexts<Rec> t;
  for (const Binding& b : bindingsOf<Rec>()) t[b.field] = trimmedText(fieldText(record, b.field));
  return t;
}

// Every bound field into the record: trimmed, encoded, cut to its capacity.
template <class Rec>
void textsIntoRecord(const CardTexts<Rec>& texts, Rec& record) {
  for (const Binding& b : bindingsOf<Rec>()) setFieldText(record, b.field, texts[b.field]);
}

}  // namespace fondaro
