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

}  // namespace fondaro
