// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/heap.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace fondaro {

void keepFreedMemoryForReuse() {
#if defined(M_TRIM_THRESHOLD) && defined(M_MMAP_THRESHOLD)
  mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
  // Setting the trim threshold also stops the C library from raising its mmap
  // threshold as blocks are freed, which it would otherwise do: every block of
  // 128 KiB or more (a scan's 1 MiB read buffer, an output buffer) would then
  // be mapped fresh, zero-filled and faulted in by each use and unmapped after
  // it. Raised by hand to a mebibyte, such blocks come from the heap and are
  // reused. Larger ones (a whole list's vectors, a statement's text) are still
  // mapped on their own and given back whole when freed: from the heap, a
  // vector that grows by doubling would leave each smaller copy behind as a
  // hole, and a list's sort keys would stay resident after the sort.
  mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
#endif
}

}  // namespace fondaro
