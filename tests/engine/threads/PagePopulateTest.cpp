#include "engine/threads/PagePopulate.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

using namespace zephrin;

namespace {

const std::size_t kPage = std::size_t(::sysconf(_SC_PAGESIZE));

// Whether each page of [data, data + bytes) is in memory.
std::vector<bool> resident(unsigned char* data, std::size_t bytes)
{
    const auto address = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = address / kPage * kPage;
    const std::size_t span = address + bytes - first;
    std::vector<unsigned char> flags((span + kPage - 1) / kPage);
    EXPECT_EQ(::mincore(reinterpret_cast<void*>(first), span, flags.data()), 0);
    std::vector<bool> in;
    for (unsigned char flag : flags)
        in.push_back(flag & 1);
    return in;
}

} // namespace

// Every page the range touches is mapped in, the pages around it are not, and
// bytes already written stay as they were: from an unaligned start, within one
// page, and over several parts.
TEST(PagePopulate, MapsInEveryPageOfTheRangeAndKeepsItsBytes)
{
    struct Case {
        std::size_t offset, bytes;
    };
    const std::size_t parts = std::size_t(4) << 20;
    for (const Case c : {Case{kPage, 1}, Case{kPage + 100, kPage}, Case{kPage + 7, 3 * parts + 5 * kPage + 11}}) {
        SCOPED_TRACE(c.bytes);
        const std::size_t mapped = c.offset + c.bytes + 2 * kPage;
        auto* base = static_cast<unsigned char*>(
            ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        ASSERT_NE(base, MAP_FAILED);
        unsigned char* const data = base + c.offset;
        data[0] = 42;  // written before: kept
        populatePages(data, c.bytes);

        for (const bool in : resident(data, c.bytes))
            EXPECT_TRUE(in);
        EXPECT_FALSE(resident(base, 1).front());
        EXPECT_FALSE(resident(base + mapped - 1, 1).front());
        EXPECT_EQ(data[0], 42);
        EXPECT_EQ(data[c.bytes - 1], c.bytes == 1 ? 42 : 0);
        ::munmap(base, mapped);
    }
}
