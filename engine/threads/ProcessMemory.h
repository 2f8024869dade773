#pragma once
// Memory the process has freed but still holds, given back to the system.
//
// glibc keeps freed blocks for reuse: in the heap of each malloc arena (one per
// thread up to eight per core, so a burst of work on the worker pools leaves
// free memory in dozens of them), and blocks up to 32 MB (an encoded PNG, a
// picture's copy) once its mmap threshold has risen to them; the pixel pool
// keeps released buffers for the next operation. Programs tune the allocator
// at start so that little lingers, and the editor gives the rest back when it
// has been left alone for a while.

namespace zephrin {

// Caps glibc's malloc arenas at a few for the whole process, and sends blocks
// of 16 MB and more straight to the system and back, unless the MALLOC_
// environment variables say otherwise.
// Call it first thing in main(), before any thread starts.
void tuneAllocator();

// Gives back the pixel pool's released buffers and the free pages of every
// malloc arena. The allocator's locks are held while it walks the heaps (some
// 10 to 500 ms on a large one): call it off the GUI thread, once the work is
// done.
void returnIdleMemory();

} // namespace zephrin
