// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/writehook.h"

namespace fondaro {
namespace {

BeforeWriteHook& installed() {
  static BeforeWriteHook hook;
  return hook;
}

}  // namespace

void setBeforeWriteHook(BeforeWriteHook hook) { installed() = std::move(hook); }

void beforeWrite(const QByteArray& file) {
  if (const BeforeWriteHook& hook = installed()) hook(file);
}

}  // namespace fondaro
