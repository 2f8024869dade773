#include "engine/isnet/FirstFitSpans.h"
#include "engine/isnet/WorkingMemory.h"

#include <onnxruntime_cxx_api.h>

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <new>
#include <thread>
#include <vector>

using namespace zephrin;

namespace {

constexpr std::size_t kGrain = FirstFitSpans::kGrain;

// The share of the pages of [data, data + bytes) that are mapped in.
double residentShare(const void* data, std::size_t bytes)
{
    const std::size_t page = std::size_t(::sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> pages((bytes + page - 1) / page);
    if (::mincore(const_cast<void*>(data), bytes, pages.data()) != 0)
        return -1;
    std::size_t resident = 0;
    for (const unsigned char state : pages)
        resident += state & 1;
    return double(resident) / double(pages.size());
}

// A block of the range, written and freed again: where an inference's
// tensors lay. Its pages stay mapped in until memory is given back.
struct FreedBlock {
    unsigned char* data;
    std::size_t size;
};

FreedBlock freedBlock(std::size_t size)
{
    OrtAllocator& allocator = WorkingMemory::shared().allocator();
    auto* data = static_cast<unsigned char*>(allocator.Alloc(&allocator, size));
    std::memset(data, 0x5A, size);
    allocator.Free(&allocator, data);
    return {data, size};
}

} // namespace

TEST(FirstFitSpans, TakesTheLowestSpanThatFitsAndJoinsWhatIsGivenBack)
{
    FirstFitSpans spans(100 * kGrain);
    EXPECT_EQ(spans.take(1), 0u);                  // rounded up to one grain
    EXPECT_EQ(spans.take(3 * kGrain), kGrain);
    EXPECT_EQ(spans.take(2 * kGrain + 1), 4 * kGrain);
    EXPECT_EQ(spans.highWater(), 7 * kGrain);
    EXPECT_EQ(spans.takenBytes(), 7 * kGrain);

    // The middle span back: a smaller request takes its start, a larger one
    // goes above the high-water mark.
    EXPECT_TRUE(spans.give(kGrain));
    EXPECT_FALSE(spans.give(kGrain));  // given back already
    EXPECT_FALSE(spans.give(2 * kGrain)); // no span starts there
    EXPECT_EQ(spans.take(kGrain), kGrain);
    EXPECT_EQ(spans.take(4 * kGrain), 7 * kGrain);

    // Neighbours given back join into one span that a request of their
    // combined size fits.
    EXPECT_TRUE(spans.give(0));
    EXPECT_TRUE(spans.give(kGrain));
    EXPECT_EQ(spans.freeSpansBelow(spans.highWater()),
              (std::vector<std::pair<std::size_t, std::size_t>>{{0, 4 * kGrain}}));
    EXPECT_EQ(spans.take(4 * kGrain), 0u);
    EXPECT_EQ(spans.take(100 * kGrain), std::nullopt); // larger than what is left
}

TEST(FirstFitSpans, LaysTheSameRequestsOutAtTheSamePlacesEachTime)
{
    // An inference asks for the same sizes in the same order every time.
    const std::vector<std::size_t> sizes{64 * kGrain, 3 * kGrain, 128 * kGrain, kGrain, 64 * kGrain};
    FirstFitSpans spans(1000 * kGrain);
    std::vector<std::size_t> first;
    for (int round = 0; round < 3; ++round) {
        std::vector<std::size_t> offsets;
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            offsets.push_back(*spans.take(sizes[i]));
            if (i % 2 == 1)
                spans.give(offsets[i - 1]); // each second block lets the one before it go
        }
        for (std::size_t i = 0; i < offsets.size(); ++i) {
            if (i % 2 == 1 || i + 1 == offsets.size())
                spans.give(offsets[i]);
        }
        if (round == 0)
            first = offsets;
        EXPECT_EQ(offsets, first) << round;
        EXPECT_EQ(spans.takenBytes(), 0u);
    }
    EXPECT_EQ(spans.freeSpansBelow(spans.highWater()).size(), 1u);
}

// Mapping pages in ahead of an inference and giving free ones back must leave
// the bytes of blocks in use as they are: the repacked weights live there.
TEST(WorkingMemory, KeepsTheBytesOfBlocksInUseThroughPrepareAndGiveBack)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the working memory's range is off under AddressSanitizer";
#endif
    WorkingMemory& memory = WorkingMemory::shared();
    OrtAllocator& allocator = memory.allocator();
    const std::size_t size = std::size_t(3) << 20;
    auto* kept = static_cast<unsigned char*>(allocator.Alloc(&allocator, size));
    auto* freed = static_cast<unsigned char*>(allocator.Alloc(&allocator, size));
    ASSERT_NE(kept, nullptr);
    ASSERT_NE(freed, nullptr);
    for (std::size_t i = 0; i < size; ++i)
        kept[i] = static_cast<unsigned char>(i * 7 + 3);
    std::memset(freed, 0xAB, size);
    allocator.Free(&allocator, freed);

    memory.prepare(memory.highWater() + (std::size_t(8) << 20));
    memory.giveBack();
    bool same = true;
    for (std::size_t i = 0; i < size; ++i)
        same = same && kept[i] == static_cast<unsigned char>(i * 7 + 3);
    EXPECT_TRUE(same);
    EXPECT_GE(memory.bytesInUse(), size);

    // The freed block's place serves the next block of its size.
    void* again = allocator.Alloc(&allocator, size);
    EXPECT_EQ(again, freed);
    allocator.Free(&allocator, again);
    allocator.Free(&allocator, kept);
    EXPECT_EQ(allocator.Alloc(&allocator, 0), nullptr);
}

// The runtime writes through whatever block it is handed: a request that no
// memory can serve fails the inference instead of handing back none, or a
// block smaller than asked for when the size overflows its rounding.
TEST(WorkingMemory, RefusesARequestItCannotServe)
{
    OrtAllocator& allocator = WorkingMemory::shared().allocator();
    const std::size_t inUse = WorkingMemory::shared().bytesInUse();
    EXPECT_THROW(allocator.Alloc(&allocator, SIZE_MAX - 10), std::bad_alloc);
#if !defined(__SANITIZE_ADDRESS__) // which stops the process at such a request
    EXPECT_THROW(allocator.Alloc(&allocator, std::size_t(1) << 62), std::bad_alloc);
#endif
    EXPECT_EQ(WorkingMemory::shared().bytesInUse(), inUse);
}

// Pages given back while prepare() maps them in, or while an inference runs,
// are not mapped in: the next prepare() must map them in again rather than
// find them ready and leave the next inference to fault them in one by one.
TEST(WorkingMemory, MapsInAgainWhatIsGivenBackWhileItPreparesOrAnInferenceRuns)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the working memory's range is off under AddressSanitizer";
#endif
    WorkingMemory& memory = WorkingMemory::shared();
    const FreedBlock block = freedBlock(std::size_t(8) << 20);

    // An inference during which memory goes back: its tensors' pages are gone.
    memory.prepare();
    const std::uint64_t begun = memory.inferenceBegins();
    freedBlock(block.size);
    memory.giveBack();
    memory.inferenceEnded(begun);
    ASSERT_EQ(residentShare(block.data, block.size), 0.0);
    memory.prepare();
    EXPECT_EQ(residentShare(block.data, block.size), 1.0) << "after an inference";

    // giveBack() on another thread while prepare() maps the pages in.
    // A give-back that comes only once the mapping-in is done proves
    // nothing either way; one that comes in the middle is the case.
    const FreedBlock large = freedBlock(std::size_t(256) << 20);
    for (int trial = 0; trial < 3; ++trial) {
        memory.giveBack();
        ASSERT_EQ(residentShare(large.data, large.size), 0.0);
        std::thread preparing([&] { memory.prepare(); });
        const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (residentShare(large.data, large.size) == 0.0 && std::chrono::steady_clock::now() < limit)
            std::this_thread::yield();
        memory.giveBack();
        preparing.join();
        memory.prepare();
        EXPECT_EQ(residentShare(large.data, large.size), 1.0) << "trial " << trial;
    }
    memory.giveBack();
}
