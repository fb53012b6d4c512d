// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as an archive: every field of every record decoded, every
// check of the command-line tool applied. Must never read out of bounds.
#include <QTemporaryFile>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/archive.h"
#include "core/textrules.h"

using namespace fondaro;

template <class Rec>
static void decodeAll(const uint8_t* data, size_t size) {
  for (size_t off = 0; off + sizeof(Rec) <= size; off += sizeof(Rec)) {
    RecordView<Rec> v(data + off);
    for (int f = 0; f < Rec::FieldCount; ++f) {
      const QString t = v.trimmed(typename Rec::Field(f));
      (void)isValidDate(t);
      (void)isAmountText(t);
      (void)parseNumber(t);
    }
    const Rec r = v.toRecord();
    for (int f = 0; f < Rec::FieldCount; ++f) (void)fieldText(r, f);
  }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Records are thousands of bytes: repeat short inputs so that they fill whole records.
  static std::vector<uint8_t> buf;
  buf.assign(data, data + size);
  if (!buf.empty()) {
    while (buf.size() < 2 * sizeof(TMovimento) + 17) buf.insert(buf.end(), data, data + size);
  }
  decodeAll<TMovimento>(buf.data(), buf.size());
  decodeAll<TCliente>(buf.data(), buf.size());
  // Re-encoding what was decoded stays inside the slot.
  TMovimento r;
  for (int f = 0; f < TMovimento::FieldCount; ++f) {
    const FieldInfo& fi = TMovimento::fields()[f];
    const size_t n = std::min<size_t>(buf.size(), size_t(fi.capacity) + 1);
    uint8_t slot[256] = {};
    std::memcpy(slot, buf.data(), n);
    setFieldText(r, f, decodeField(slot, fi.capacity));
  }
  return 0;
}
