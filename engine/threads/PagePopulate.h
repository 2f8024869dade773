#pragma once
// Mapping in fresh memory ahead of its first writes.
//
// The first write to each page of a new mapping is a page fault in which the
// kernel clears the page: for a 12-megapixel RGBA buffer some 12000 of them.
// A writer on one thread (a JPEG decoder, a serial pass) pays them one after
// another, some 20 ms on an 8-core machine; mapped in on every core first, in
// one call per part, they cost a few.

#include <cstddef>

namespace zephrin {

// Maps in the pages of [data, data + bytes) for writing without changing a
// byte (blocks in use may lie there), in parts on OpenCV's pool.
void populatePages(unsigned char* data, std::size_t bytes);

} // namespace zephrin
