#include "engine/isnet/WorkingMemory.h"

#include "engine/isnet/FirstFitSpans.h"
#include "engine/threads/PagePopulate.h"

#include <onnxruntime_cxx_api.h>

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>

namespace zephrin {

namespace {

// Blocks from this size on come from the range: the tensors and repacked
// weights, not the runtime's small bookkeeping.
constexpr std::size_t kFromRange = std::size_t(64) << 10;
// Address space reserved for the range; pages exist only where touched.
constexpr std::size_t kRangeBytes = WorkingMemory::kCapacity;
constexpr std::size_t kSmallAlignment = 64;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUseRange = false;
#else
constexpr bool kUseRange = true;
#endif

} // namespace

struct WorkingMemory::State {
    OrtAllocator allocator{};
    OrtMemoryInfo* info = nullptr;
    unsigned char* range = nullptr;
    mutable std::mutex lock;
    FirstFitSpans spans{kRangeBytes};
    // Every page below this is mapped in (or lies in a block in use), ready
    // for an inference; giveBack() lowers it to the first page it returns.
    std::size_t ready = 0;
    // The most that has been mapped in: what giveBack() looks through.
    std::size_t reach = 0;
    // Bumped whenever pages are dropped: a mapping-in or an inference that saw
    // another count when it began may not raise `ready` over them.
    std::uint64_t drops = 0;
    std::mutex preparing; // one prepare() at a time: a second waits and finds the pages ready
    std::once_flag registered;

    bool inRange(const void* p) const
    {
        const auto* byte = static_cast<const unsigned char*>(p);
        return range && byte >= range && byte < range + kRangeBytes;
    }

    void* alloc(std::size_t bytes)
    {
        if (bytes == 0)
            return nullptr;
        if (range && bytes >= kFromRange) {
            const std::lock_guard guard(lock);
            if (const std::optional<std::size_t> offset = spans.take(bytes))
                return range + *offset;
        }
        // The runtime takes a null block for memory and writes through it:
        // a block that cannot be had fails its inference instead, as the
        // runtime's own allocator fails it.
        if (bytes > SIZE_MAX - kSmallAlignment)
            throw std::bad_alloc();
        void* block = std::aligned_alloc(kSmallAlignment, (bytes + kSmallAlignment - 1) / kSmallAlignment * kSmallAlignment);
        if (!block)
            throw std::bad_alloc();
        return block;
    }

    // Drops the pages [first, end), rounded inwards to whole pages: the
    // kernel drops whole pages, and a block beside the span would lose its
    // bytes. Under `lock`.
    void drop(std::size_t first, std::size_t end)
    {
        static const std::size_t page = std::size_t(::sysconf(_SC_PAGESIZE));
        first = (first + page - 1) / page * page;
        end = end / page * page;
        if (first >= end)
            return;
        ::madvise(range + first, end - first, MADV_DONTNEED);
        ready = std::min(ready, first);
        ++drops;
    }

    void free(void* p)
    {
        if (!inRange(p)) {
            std::free(p);
            return;
        }
        const std::lock_guard guard(lock);
        spans.give(std::size_t(static_cast<unsigned char*>(p) - range));
    }
};

WorkingMemory::WorkingMemory() : m_state(new State)
{
    State& state = *m_state;
    Ort::ThrowOnError(Ort::GetApi().CreateCpuMemoryInfo(OrtDeviceAllocator, OrtMemTypeDefault, &state.info));
    if (kUseRange) {
        void* range = ::mmap(nullptr, kRangeBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE,
                             -1, 0);
        if (range != MAP_FAILED)
            state.range = static_cast<unsigned char*>(range);
    }
    state.allocator.version = ORT_API_VERSION;
    state.allocator.Alloc = [](OrtAllocator*, std::size_t bytes) { return shared().m_state->alloc(bytes); };
    state.allocator.Free = [](OrtAllocator*, void* p) { shared().m_state->free(p); };
    state.allocator.Info = [](const OrtAllocator*) -> const OrtMemoryInfo* { return shared().m_state->info; };
}

WorkingMemory& WorkingMemory::shared()
{
    static WorkingMemory& memory = *new WorkingMemory;
    return memory;
}

void WorkingMemory::registerWith(Ort::Env& env)
{
    std::call_once(m_state->registered,
                   [&] { Ort::ThrowOnError(Ort::GetApi().RegisterAllocator(env, &m_state->allocator)); });
}

OrtAllocator& WorkingMemory::allocator() { return m_state->allocator; }

void WorkingMemory::prepare(std::size_t atLeast)
{
    State& state = *m_state;
    const std::lock_guard preparing(state.preparing);
    std::size_t from = 0;
    std::size_t to = 0;
    std::uint64_t drops = 0;
    {
        const std::lock_guard guard(state.lock);
        const std::size_t wanted = std::max(state.spans.highWater(), atLeast);
        to = std::min((wanted + FirstFitSpans::kGrain - 1) / FirstFitSpans::kGrain * FirstFitSpans::kGrain, kRangeBytes);
        from = state.ready;
        drops = state.drops;
        state.reach = std::max(state.reach, to);
    }
    if (!state.range || from >= to)
        return;
    populatePages(state.range + from, to - from);
    // Pages given back meanwhile stay below the mark: the next prepare() maps
    // them in again.
    const std::lock_guard guard(state.lock);
    if (state.drops == drops)
        state.ready = std::max(state.ready, to);
    state.reach = std::max(state.reach, to); // lowered meanwhile by an inference's end
}

std::uint64_t WorkingMemory::inferenceBegins() const
{
    const std::lock_guard guard(m_state->lock);
    return m_state->drops;
}

void WorkingMemory::inferenceEnded(std::uint64_t begun)
{
    State& state = *m_state;
    const std::lock_guard guard(state.lock);
    const std::size_t used = state.spans.highWater();
    // Its blocks' pages were written by the inference, unless pages were
    // dropped while it ran.
    if (state.drops == begun)
        state.ready = std::max(state.ready, used);
    // Pages mapped in above every block (a note that promised more than the
    // inference took) would stay resident for nothing until the next
    // giveBack(), which a batch puts off to its end.
    if (state.range && state.reach > used) {
        state.drop(used, state.reach);
        state.reach = used;
    }
}

void WorkingMemory::giveBack()
{
    State& state = *m_state;
    if (!state.range)
        return;
    const std::lock_guard guard(state.lock);
    for (const auto& [offset, size] : state.spans.freeSpansBelow(std::max(state.spans.highWater(), state.reach)))
        state.drop(offset, offset + size);
}

std::size_t WorkingMemory::highWater() const
{
    const std::lock_guard guard(m_state->lock);
    return m_state->spans.highWater();
}

std::size_t WorkingMemory::bytesInUse() const
{
    const std::lock_guard guard(m_state->lock);
    return m_state->spans.takenBytes();
}

} // namespace zephrin
