#include "engine/threads/ProcessMemory.h"

#include "engine/pixel/PixelBuffer.h"

#include <malloc.h>

#include <cstdlib>

namespace zephrin {

namespace {
// Enough that the GUI thread and the workers rarely wait on each other's
// allocations (the large buffers come from the pixel pool and the network's
// working memory, not from malloc's heaps). Measured on the 12-megapixel editor bench:
// idle 776 MB with glibc's default (eight per core), 575 with four, 572 with
// two; no step slower beyond the machine's noise.
constexpr int kArenas = 4;
// Blocks from 16 MB on (an encoded picture, a full-size copy) are mapped and
// unmapped; a fixed threshold also keeps glibc from raising it to 32 MB after
// the first such block is freed, which let freed PNGs linger in the heaps.
// Smaller blocks (a 12-megapixel matte) stay in the heaps for reuse. On the
// 12-megapixel editor bench: peak 1381 MB with glibc's moving threshold,
// 1294 with 1 MB (and 15 % more page faults), 1232 with 16 MB.
constexpr int kMmapThreshold = 16 << 20;
// The heap's free top goes back to the system beyond this.
constexpr int kTrimThreshold = 8 << 20;

void setUnlessGiven(const char* variable, int parameter, int value)
{
    if (!std::getenv(variable))
        mallopt(parameter, value);
}
} // namespace

void tuneAllocator()
{
    setUnlessGiven("MALLOC_ARENA_MAX", M_ARENA_MAX, kArenas);
    setUnlessGiven("MALLOC_MMAP_THRESHOLD_", M_MMAP_THRESHOLD, kMmapThreshold);
    setUnlessGiven("MALLOC_TRIM_THRESHOLD_", M_TRIM_THRESHOLD, kTrimThreshold);
}

void returnIdleMemory()
{
    releaseIdlePixelBuffers();
    malloc_trim(0);
}

} // namespace zephrin
