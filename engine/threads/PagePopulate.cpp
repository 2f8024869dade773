#include "engine/threads/PagePopulate.h"

#include <opencv2/core.hpp>

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23 // Linux 5.14
#endif

namespace zephrin {

namespace {

// The part one task maps in.
constexpr std::size_t kPart = std::size_t(4) << 20;

// In one call where the kernel offers it, else by adding 0 to one byte of each
// page atomically. madvise wants a page-aligned start: the part's first page
// is then the one holding its first byte.
void populatePart(unsigned char* data, std::size_t bytes)
{
    static const std::size_t page = std::size_t(::sysconf(_SC_PAGESIZE));
    const auto address = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t aligned = address / page * page;
    if (::madvise(reinterpret_cast<void*>(aligned), bytes + (address - aligned), MADV_POPULATE_WRITE) == 0)
        return;
    for (std::size_t at = 0; at < bytes; at += page)
        __atomic_fetch_add(data + at, 0, __ATOMIC_RELAXED);
    __atomic_fetch_add(data + bytes - 1, 0, __ATOMIC_RELAXED);
}

} // namespace

void populatePages(unsigned char* data, std::size_t bytes)
{
    if (!data || bytes == 0)
        return;
    // A single part runs on the caller's thread.
    const int parts = int((bytes + kPart - 1) / kPart);
    cv::parallel_for_(cv::Range(0, parts), [&](const cv::Range& range) {
        for (int part = range.start; part < range.end; ++part) {
            const std::size_t at = std::size_t(part) * kPart;
            populatePart(data + at, std::min(kPart, bytes - at));
        }
    });
}

} // namespace zephrin
