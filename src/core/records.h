// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two record layouts of the archives, byte for byte. Each record is a flat
// sequence of length-prefixed fields with no padding; the structs below are the
// exact byte image read from and written to the files.
#include <array>
#include <cstddef>
#include <optional>

#include "core/field.h"

namespace fondaro {

// name, capacity; in record order.
#define FONDARO_MOVIMENTO_FIELDS(X) \
  X(Entrata, 2)                     \
  X(Uscita, 2)                      \
  X(Data, 10)                       \
  X(Causale, 250)                   \
  X(Promemoria, 250)                \
  X(DataSca, 10)                    \
  X(Preavviso, 3)                   \
  X(Importo, 15)                    \
  X(Totale, 15)                     \
  X(Pagatore, 50)                   \
  X(RecapitoPag, 50)                \
  X(CodFisc, 16)                    \
  X(PartitaIva, 11)                 \
  X(Categoria, 50)                  \
  X(Email, 50)                      \
  X(Pagamento, 250)                 \
  X(Beneficiario, 50)               \
  X(RecapitoBen, 50)                \
  X(Ricevuta, 250)                  \
  X(Note, 250)                      \
  X(Tariffa, 250)                   \
  X(Saldato, 2)                     \
  X(File01, 250)                    \
  X(File02, 250)                    \
  X(File03, 250)                    \
  X(Desc01, 250)                    \
  X(Desc02, 250)                    \
  X(Desc03, 250)

#define FONDARO_CLIENTE_FIELDS(X) \
  X(Cliente, 50)                  \
  X(DataNasc, 30)                 \
  X(ComuneNasc, 50)               \
  X(ProvNasc, 2)                  \
  X(Sesso, 1)                     \
  X(Recapito, 50)                 \
  X(IndirizzoRes, 50)             \
  X(ProvRes, 2)                   \
  X(ComuneRes, 50)                \
  X(CapRes, 5)                    \
  X(Estremi, 250)                 \
  X(TelCasa, 30)                  \
  X(TelUff, 30)                   \
  X(TelCel, 30)                   \
  X(Fax, 30)                      \
  X(Email, 50)                    \
  X(CodFisc, 16)                  \
  X(Carta, 30)                    \
  X(ScadeCarta, 30)               \
  X(PartitaIva, 11)               \
  X(Iban, 27)                     \
  X(Documento, 120)               \
  X(Occupazione, 50)              \
  X(Civile, 50)                   \
  X(Titoli, 120)                  \
  X(Prodotti, 120)                \
  X(Zona, 50)                     \
  X(Questioni, 250)               \
  X(Note, 250)                    \
  X(Ricontatta, 2)                \
  X(File01, 250)                  \
  X(File02, 250)                  \
  X(File03, 250)                  \
  X(Desc01, 250)                  \
  X(Desc02, 250)                  \
  X(Desc03, 250)

#define FONDARO_DECLARE_FIELD(name, cap) LpString<cap> name;
#define FONDARO_ENUM_FIELD(name, cap) name,

// Field numbers in record order: mov::Causale, cli::Cliente.
namespace mov {
enum Field : int { FONDARO_MOVIMENTO_FIELDS(FONDARO_ENUM_FIELD) FieldCount };
}
namespace cli {
enum Field : int { FONDARO_CLIENTE_FIELDS(FONDARO_ENUM_FIELD) FieldCount };
}

// The two kinds of archive: a yearly movement archive ("<yyyy>.eur") and the
// address book ("Clienti.pro").
enum class RecordKind { Movimenti, Clienti };

// The kind by its word ("movimenti", "clienti"), or by a file name's
// extension (".eur", ".pro", in any case); nullopt when neither tells.
std::optional<RecordKind> recordKindFromWord(QStringView word);
std::optional<RecordKind> recordKindFromFileName(QStringView fileName);

// A movement: one card of a yearly cash journal ("<yyyy>.eur").
struct TMovimento {
  FONDARO_MOVIMENTO_FIELDS(FONDARO_DECLARE_FIELD)

  using Field = mov::Field;
  static constexpr int FieldCount = mov::FieldCount;
  static const std::array<FieldInfo, FieldCount>& fields();
};

// A payer or beneficiary: one card of the address book ("Clienti.pro").
struct TCliente {
  FONDARO_CLIENTE_FIELDS(FONDARO_DECLARE_FIELD)

  using Field = cli::Field;
  static constexpr int FieldCount = cli::FieldCount;
  static const std::array<FieldInfo, FieldCount>& fields();
};

static_assert(sizeof(TMovimento) == 3414);
static_assert(sizeof(TCliente) == 3372);
static_assert(alignof(TMovimento) == 1 && alignof(TCliente) == 1);
static_assert(TMovimento::FieldCount == 28 && TCliente::FieldCount == 36);

// The offsets of the stored layout, checked field by field.
static_assert(offsetof(TMovimento, Uscita) == 3);
static_assert(offsetof(TMovimento, Data) == 6);
static_assert(offsetof(TMovimento, Causale) == 17);
static_assert(offsetof(TMovimento, Promemoria) == 268);
static_assert(offsetof(TMovimento, DataSca) == 519);
static_assert(offsetof(TMovimento, Preavviso) == 530);
static_assert(offsetof(TMovimento, Importo) == 534);
static_assert(offsetof(TMovimento, Totale) == 550);
static_assert(offsetof(TMovimento, Pagatore) == 566);
static_assert(offsetof(TMovimento, RecapitoPag) == 617);
static_assert(offsetof(TMovimento, CodFisc) == 668);
static_assert(offsetof(TMovimento, PartitaIva) == 685);
static_assert(offsetof(TMovimento, Categoria) == 697);
static_assert(offsetof(TMovimento, Email) == 748);
static_assert(offsetof(TMovimento, Pagamento) == 799);
static_assert(offsetof(TMovimento, Beneficiario) == 1050);
static_assert(offsetof(TMovimento, RecapitoBen) == 1101);
static_assert(offsetof(TMovimento, Ricevuta) == 1152);
static_assert(offsetof(TMovimento, Note) == 1403);
static_assert(offsetof(TMovimento, Tariffa) == 1654);
static_assert(offsetof(TMovimento, Saldato) == 1905);
static_assert(offsetof(TMovimento, File01) == 1908);
static_assert(offsetof(TMovimento, File02) == 2159);
static_assert(offsetof(TMovimento, File03) == 2410);
static_assert(offsetof(TMovimento, Desc01) == 2661);
static_assert(offsetof(TMovimento, Desc02) == 2912);
static_assert(offsetof(TMovimento, Desc03) == 3163);

static_assert(offsetof(TCliente, DataNasc) == 51);
static_assert(offsetof(TCliente, ComuneNasc) == 82);
static_assert(offsetof(TCliente, ProvNasc) == 133);
static_assert(offsetof(TCliente, Sesso) == 136);
static_assert(offsetof(TCliente, Recapito) == 138);
static_assert(offsetof(TCliente, IndirizzoRes) == 189);
static_assert(offsetof(TCliente, ProvRes) == 240);
static_assert(offsetof(TCliente, ComuneRes) == 243);
static_assert(offsetof(TCliente, CapRes) == 294);
static_assert(offsetof(TCliente, Estremi) == 300);
static_assert(offsetof(TCliente, TelCasa) == 551);
static_assert(offsetof(TCliente, TelUff) == 582);
static_assert(offsetof(TCliente, TelCel) == 613);
static_assert(offsetof(TCliente, Fax) == 644);
static_assert(offsetof(TCliente, Email) == 675);
static_assert(offsetof(TCliente, CodFisc) == 726);
static_assert(offsetof(TCliente, Carta) == 743);
static_assert(offsetof(TCliente, ScadeCarta) == 774);
static_assert(offsetof(TCliente, PartitaIva) == 805);
static_assert(offsetof(TCliente, Iban) == 817);
static_assert(offsetof(TCliente, Documento) == 845);
static_assert(offsetof(TCliente, Occupazione) == 966);
static_assert(offsetof(TCliente, Civile) == 1017);
static_assert(offsetof(TCliente, Titoli) == 1068);
static_assert(offsetof(TCliente, Prodotti) == 1189);
static_assert(offsetof(TCliente, Zona) == 1310);
static_assert(offsetof(TCliente, Questioni) == 1361);
static_assert(offsetof(TCliente, Note) == 1612);
static_assert(offsetof(TCliente, Ricontatta) == 1863);
static_assert(offsetof(TCliente, File01) == 1866);
static_assert(offsetof(TCliente, File02) == 2117);
static_assert(offsetof(TCliente, File03) == 2368);
static_assert(offsetof(TCliente, Desc01) == 2619);
static_assert(offsetof(TCliente, Desc02) == 2870);
static_assert(offsetof(TCliente, Desc03) == 3121);

// A read-only look at one stored record inside a scan buffer: decodes only the
// fields that are asked for.
template <class Rec>
class RecordView {
 public:
  explicit RecordView(const uint8_t* bytes) : p_(bytes) {}
  const uint8_t* bytes() const { return p_; }
  const uint8_t* slot(typename Rec::Field f) const { return p_ + Rec::fields()[f].offset; }
  // The decoded text, untrimmed.
  QString text(typename Rec::Field f) const { return decodeField(slot(f), Rec::fields()[f].capacity); }
  // The decoded text, trimmed as every reader trims it.
  QString trimmed(typename Rec::Field f) const { return trimmedText(text(f)); }
  int length(typename Rec::Field f) const { return storedLength(slot(f), Rec::fields()[f].capacity); }
  bool lengthDamaged(typename Rec::Field f) const { return slot(f)[0] > Rec::fields()[f].capacity; }
  Rec toRecord() const;

 private:
  const uint8_t* p_;
};

// Field access by index, for the generic readers (dump, check, export).
template <class Rec>
QString fieldText(const Rec& r, int f) {
  const FieldInfo& fi = Rec::fields()[f];
  return decodeField(reinterpret_cast<const uint8_t*>(&r) + fi.offset, fi.capacity);
}
template <class Rec>
void setFieldText(Rec& r, int f, QStringView text) {
  const FieldInfo& fi = Rec::fields()[f];
  encodeField(reinterpret_cast<uint8_t*>(&r) + fi.offset, fi.capacity, text);
}
template <class Rec>
std::optional<int> fieldIndex(QStringView name) {
  const auto& fs = Rec::fields();
  for (int i = 0; i < int(fs.size()); ++i) {
    if (name == QLatin1String(fs[i].name)) return i;
  }
  return std::nullopt;
}

template <class Rec>
Rec RecordView<Rec>::toRecord() const {
  Rec r;
  std::memcpy(static_cast<void*>(&r), p_, sizeof(Rec));
  return r;
}

using MovimentoView = RecordView<TMovimento>;
using ClienteView = RecordView<TCliente>;

}  // namespace fondaro
