#include "core/heap.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace fondaro {

void keepFreedMemoryForReuse() {
#if defined(M_TRIM_THRESHOLD)
  mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
}

}  // namespace fondaro
