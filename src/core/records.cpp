// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/records.h"

namespace fondaro {

#define FONDARO_FIELD_INFO(Rec, name, cap) FieldInfo{#name, int(offsetof(Rec, name)), cap},
#define FONDARO_MOV_INFO(name, cap) FONDARO_FIELD_INFO(TMovimento, name, cap)
#define FONDARO_CLI_INFO(name, cap) FONDARO_FIELD_INFO(TCliente, name, cap)

const std::array<FieldInfo, TMovimento::FieldCount>& TMovimento::fields() {
  static const std::array<FieldInfo, FieldCount> table = {{FONDARO_MOVIMENTO_FIELDS(FONDARO_MOV_INFO)}};
  return table;
}

const std::array<FieldInfo, TCliente::FieldCount>& TCliente::fields() {
  static const std::array<FieldInfo, FieldCount> table = {{FONDARO_CLIENTE_FIELDS(FONDARO_CLI_INFO)}};
  return table;
}

std::optional<RecordKind> recordKindFromWord(QStringView word) {
  if (word == u"movimenti") return RecordKind::Movimenti;
  if (word == u"clienti") return RecordKind::Clienti;
  return std::nullopt;
}

std::optional<RecordKind> recordKindFromFileName(QStringView fileName) {
  if (fileName.endsWith(u".eur", Qt::CaseInsensitive)) return RecordKind::Movimenti;
  if (fileName.endsWith(u".pro", Qt::CaseInsensitive)) return RecordKind::Clienti;
  return std::nullopt;
}

}  // namespace fondaro
