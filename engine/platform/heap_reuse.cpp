#include "heap_reuse.h"

#include "utils/debug.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void keepFreedHeapForReuse() {
#if defined(__GLIBC__)
    // The values glibc's own adjustment arrives at after freeing a block at its ceiling (32 MB
    // with 64-bit longs, 512 KB with 32-bit ones): smaller blocks come from the heap, and the
    // heap's free top goes back to the system only beyond twice that.
    constexpr int kMmapThreshold = sizeof(long) >= 8 ? 32 * 1024 * 1024 : 512 * 1024;
    if (mallopt(M_MMAP_THRESHOLD, kMmapThreshold) == 0 ||
        mallopt(M_TRIM_THRESHOLD, 2 * kMmapThreshold) == 0) {
        logDebug("The C library refused the heap thresholds: frames may fault in fresh memory");
    }
#endif
}
