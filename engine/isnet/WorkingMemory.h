#pragma once
// The memory the IS-Net session works in: the weights the runtime repacks when
// it loads, and every tensor of an inference, some 430 MB at 1024 × 1024.
//
// The runtime's own arena maps that memory as an inference first asks for it,
// and the kernel then faults in and clears each page: a session's first
// inference took twice as long as the next (on an 8-core virtual machine 550
// against 265 ms), and the editor lets its session go after each cutout. So the
// session takes its blocks from here instead (an allocator registered with the
// runtime's environment): one reserved range handed out first fit
// (FirstFitSpans), so that an inference's blocks land where they did last time
// and end at the same high-water mark. prepare() maps that much in on every
// core before a session's first inference, while the caller decodes its
// picture; giveBack() returns the pages of what is free once a session goes.
// Small blocks, and whatever does not fit the range, come from the ordinary
// allocator. Thread-safe. With AddressSanitizer the range is off, so that
// overruns between blocks are caught.

#include <cstddef>
#include <cstdint>

struct OrtAllocator;
namespace Ort {
struct Env;
}

namespace zephrin {

class WorkingMemory {
public:
    // The bytes of the reserved range: no inference's blocks end higher in it.
    static constexpr std::size_t kCapacity = std::size_t(2) << 30;

    // The one working memory of the process, never destroyed (sessions the
    // environment outlives may free into it).
    static WorkingMemory& shared();

    // Registers the allocator with `env` (once; later calls do nothing).
    // Sessions whose options hold "session.use_env_allocators" = "1" then take
    // their CPU memory from here.
    void registerWith(Ort::Env& env);
    // The allocator the runtime is given.
    OrtAllocator& allocator();

    // Maps in the pages up to the high-water mark of the inferences run so far
    // in this process, or up to `atLeast` bytes (what an inference took in an
    // earlier process) when that is more, on OpenCV's pool; at once when they
    // are mapped in already. Bytes of blocks in use do not change. Pages that
    // giveBack() drops while they are mapped in count as not mapped in.
    void prepare(std::size_t atLeast = 0);
    // What an inference is to hand to inferenceEnded(), taken as it begins.
    std::uint64_t inferenceBegins() const;
    // The inference that began with `begun` has ended: the pages of its blocks
    // are mapped in, unless memory was given back while it ran; pages mapped
    // in above its blocks go back.
    void inferenceEnded(std::uint64_t begun);
    // Returns the pages of every free block to the system (the range stays
    // reserved); blocks in use keep theirs.
    void giveBack();

    // The end of the highest block handed out so far, in bytes.
    std::size_t highWater() const;
    // Bytes of the range now in blocks in use.
    std::size_t bytesInUse() const;

    WorkingMemory(const WorkingMemory&) = delete;
    WorkingMemory& operator=(const WorkingMemory&) = delete;

private:
    WorkingMemory();
    ~WorkingMemory() = default;
    struct State;
    State* m_state; // never freed, like the instance
};

} // namespace zephrin
