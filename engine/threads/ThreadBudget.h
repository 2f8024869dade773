#pragma once
// How many threads each pool of the process may run, decided in this one place
// so that the pools together do not ask for more cores than the machine gives.
//
// Parallel work goes through two pools: ONNX Runtime's intra-op threads (the
// network, one run at a time in practice) and OpenCV's pool (every row loop of
// the pixel layer, the checksums of the model cache, the PNG deflate bands;
// OpenCV runs a second caller's loop on that caller's own thread while the pool
// is busy, so the pool never holds more than its size). Each gets every core.
// The Qt worker pools run whole tasks, most of which fan out into those two
// pools; they share the cores between them: half for work the user waits for,
// half at low priority for utility work. The sheet engine's one encode thread
// (the print PNG, which deflates on OpenCV's pool) runs beside its preview.

namespace zephrin {

struct ThreadBudget {
    int cores = 1;          // CPUs this process may run on
    int networkThreads = 1; // ONNX Runtime's intra-op threads
    int pixelThreads = 1;   // OpenCV's pool
    int userTasks = 1;      // the Qt pool for work the user waits for
    int utilityTasks = 1;   // the low-priority Qt pool

    friend bool operator==(const ThreadBudget&, const ThreadBudget&) = default;
};

// The budget for a machine of `cores` CPUs (at least one is assumed).
ThreadBudget threadBudgetFor(int cores);

// The CPUs this process may run on (its affinity mask, which containers and
// taskset narrow), at least 1.
int availableCores();

// The budget of this process, decided on the first call, which also sizes
// OpenCV's pool by it. The programs call it before any work starts.
const ThreadBudget& threadBudget();

} // namespace zephrin
