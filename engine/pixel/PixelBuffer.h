#pragma once
// New pixel buffers: the one place the engines allocate them.
//
// A fresh buffer is not free: the first write to each of its pages is a page
// fault, and a new 12-megapixel RGBA buffer (48 MB, some 12000 pages) costs
// more that way than several passes over a buffer that is already mapped
// (8 cores, loaded machine: 23 ms against 1.2 ms for the pass itself). So
// buffers of 1 MiB and more come from a pool: one that was released recently
// and is of about the same size is handed out again; otherwise new memory is
// mapped, and mapped in on every core at once (PagePopulate.h). Released
// buffers are kept while the idle ones add up to at most kIdlePixelBytes, the
// oldest given back to the system first. Smaller buffers come from the
// ordinary allocator, which reuses them by itself.
// Huge pages were tried and left out: a fresh 48 MB buffer in them took 3.4 ms
// alone, but in the editor a stroke's step took three times as long with them
// (616 … 685 ms against 183 … 208), the kernel compacting memory to find them.
//
// The buffers are ordinary cv::Mat (reference counted, contiguous rows); a
// buffer goes back to the pool when its last Mat goes. Thread-safe. With
// AddressSanitizer the pool is off, so that a use after release is caught.

#include <opencv2/core.hpp>

#include <cstddef>
#include <cstdint>

namespace zephrin {

// Buffers from this many bytes on are pooled.
inline constexpr std::size_t kPooledFromBytes = std::size_t(1) << 20;
// The most that released buffers may hold while they wait to be used again:
// about three 12-megapixel RGBA images.
inline constexpr std::size_t kIdlePixelBytes = std::size_t(160) << 20;

// A new buffer of `size` and `type`, contents undefined. A size beyond the
// pixel layer's limits (ExtentLimits) throws std::length_error before anything
// is allocated.
cv::Mat newPixelBuffer(cv::Size size, int type);

// The allocator behind newPixelBuffer, for OpenCV calls that write into a
// destination of their own: `dst.allocator = pixelBufferAllocator()` before
// the call lets them allocate from the pool.
cv::MatAllocator* pixelBufferAllocator();

// What the pool holds: released buffers waiting, and their bytes.
struct PixelPoolState {
    std::size_t idleBuffers = 0;
    std::size_t idleBytes = 0;
};
PixelPoolState pixelPoolState();

// Gives every released buffer back to the system (the next requests map new
// memory, paying its page faults): for a process that has gone idle.
void releaseIdlePixelBuffers();

} // namespace zephrin
