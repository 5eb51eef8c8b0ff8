#include "HeapPolicy.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace tarnelix::d3d9 {

void keepFreedHeapMemory() {
#ifdef __GLIBC__
    static const bool applied = [] {
        // Fixed thresholds also stop glibc from adjusting them itself as blocks come and go.
        constexpr int kTrimThreshold = 128 << 20;
        constexpr int kMmapThreshold = 32 << 20;
        mallopt(M_TRIM_THRESHOLD, kTrimThreshold);
        mallopt(M_MMAP_THRESHOLD, kMmapThreshold);
        return true;
    }();
    (void)applied;
#endif
}

} // namespace tarnelix::d3d9
