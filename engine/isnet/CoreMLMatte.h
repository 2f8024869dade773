#pragma once
// The IS-Net runner: finds the subject with the segmentation network that ships
// beside the executables (ISNetGeneral.onnx, run by ONNX Runtime on the CPU or,
// when the runtime has one and the settings allow it, a GPU provider).
//
// The network always sees the image stretched to 1024 × 1024 on white, values
// byte / 255 − 0.5 in three planes R, G, B; its output is one 1024 × 1024 map of
// subject probabilities. The runner normalises that map, decides whether it
// shows one confident subject (else the caller keeps the whole scene), and
// stretches the mask back to the image's size.
//
// There is one runner per process, `shared()`, holding one inference session
// that is created on first use and kept until `release()`. Loading happens
// under the runner's lock; inference and all pre- and post-processing run on
// the caller's thread. Several masks may be prepared and read at once, but the
// network runs one at a time: an inference takes about 450 MB of working
// memory for its 1024 × 1024 input and already keeps every core busy, so two
// at once would only double the memory. That working memory (WorkingMemory)
// stays mapped in for the next inference, and is mapped in ahead of one where
// it is not: faulted in by the inference itself, it cost as much again as the
// inference on a virtual machine. releaseWorkingMemory() gives it back,
// release() the session too.

#include "engine/pixel/Image.h"
#include "engine/types/SentenceError.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zephrin {

class CoreMLMatte final {
public:
    enum class FailureKind { missing, badInput, badOutput };
    using Failure = SentenceError<FailureKind>;

    // The network's input and output side in pixels.
    static constexpr int kSide = 1024;

    // A mask at the image's pixel size (origin 0, 0; white = subject), and
    // whether it is the all-white scene fallback because no confident subject
    // stood out.
    struct Mask {
        Matte image;
        bool sceneFallback = false;
    };

    // Where the runtime may run the network, chosen by the setting
    // "isnetCompute": absent or anything unknown = all, "cpu" = cpuOnly,
    // "gpu" = cpuAndGPU (exact, case-sensitive).
    enum class ComputeUnits { cpuOnly, cpuAndGPU, all };
    static ComputeUnits computeUnits(const std::optional<QString>& stored);
    // The runtime's execution providers for a choice, in order of preference:
    // the GPU provider first when one is present and the choice allows it, the
    // CPU provider always last.
    static std::vector<std::string> executionProviders(ComputeUnits units, bool gpuProviderPresent);

    // The element types an output may have; the values are ONNX's element codes
    // (any other code stands for an unsupported type).
    enum class ElementType : int { float32 = 1, float16 = 10, float64 = 11 };
    // A dense, row-major tensor as the runtime hands it out.
    struct Tensor {
        const void* data = nullptr;
        ElementType elementType = ElementType::float32;
        std::vector<std::int64_t> shape;
    };

    // The counts of the confidence test over a normalised map: confident
    // (v ≥ 0.8) and ambiguous (0.2 < v < 0.8) values out of n.
    struct Confidence {
        std::size_t confident = 0;
        std::size_t ambiguous = 0;
        std::size_t n = 0;
        // No confident subject: confident / n < 0.02, or ambiguous / n > 0.25
        // with twice the confident share below the ambiguous share. Decided on
        // the counts, so shares that sit exactly on a bound are not rounded
        // across it.
        bool sceneFallback() const;
    };

    struct Model; // the loaded session, opaque outside the runner

    CoreMLMatte(const CoreMLMatte&) = delete;
    CoreMLMatte& operator=(const CoreMLMatte&) = delete;

    // The process-wide runner, created on first use.
    static CoreMLMatte& shared();
    // Whether the network can be offered: its model file is present and the
    // runtime has not refused that file. Nothing is loaded.
    static bool isAvailable();
    // Whether the network is ready to run, loading it when it is not yet. False
    // when the model file is missing, or the runtime refuses it (a damaged or
    // foreign file), or it has no output "output_image": the refusal is logged
    // once as a warning with its reason, and that file is not tried again until
    // it changes.
    bool ensureLoaded();

    // The loaded network, loading it when it is not loaded yet or was released
    // (under the lock, so concurrent first callers wait for the one load), with
    // its working memory mapped in (WorkingMemory).
    // Throws Failure(missing) when there is no model file, or the runtime's
    // load error (Ort::Exception, a std::exception) unchanged; a failed load is
    // tried again next time.
    std::shared_ptr<const Model> loadModel();
    // Whether a model is loaded; loads nothing and never waits for a load in
    // progress (the GUI thread asks).
    bool isLoaded() const { return m_loaded.load(std::memory_order_acquire); }
    // Lets the loaded network go (its session and weights, some 200 MB, and
    // its working memory, some 450 MB) for a process that has stopped asking
    // for masks; a mask under way keeps it until it is done. The next mask
    // loads it again, from the session cache in a fraction of a second.
    void release();
    // Removes what a load under way in this process has begun to write into
    // the model cache: for a process that ends without waiting for the load.
    static void removeUnfinishedCache();
    // Gives back the pages of the network's working memory, some 450 MB, and
    // keeps the session: for a process whose next mask is not near. The next
    // mask maps them in again first (about 90 ms on 8 cores), as loadModel() does.
    // Nothing goes while an inference runs.
    void releaseWorkingMemory();

    // The subject mask of an image (origin 0, 0). Throws Failure (missing,
    // badInput for an empty image, badOutput) or the runtime's error.
    Mask mask(const Image& image);
    // The network alone: one inference on an input from makeInput(image,
    // kSide), its output map of kSide × kSide floats as readOutput gives it.
    // Throws Failure (missing, badInput for an input of another size,
    // badOutput) or the runtime's error.
    std::vector<float> run(std::span<const float> input);

    // The network's input for an image: 3 × side × side floats, planes R, G, B,
    // top row first, the image stretched to the square (Lanczos, aspect ratio
    // not kept) over opaque white, each byte b as b / 255 − 0.5. Throws
    // Failure(badInput) for an empty image or a side below 1.
    static std::vector<float> makeInput(const Image& image, int side);
    // The side × side map of an output tensor, as floats. The map is the first
    // pair of adjacent axes of size `side` (for example [1, 1, side, side] or
    // channels last [1, side, side, 3]); every other axis is read at index 0.
    // Throws Failure(badOutput) for another element type than 32-, 16- or
    // 64-bit floats, for a shape without such a pair, or for a missing buffer.
    static std::vector<float> readOutput(const Tensor& output, int side);
    // Logs "<label>: n=… min=… max=… mean=… >0.5: … nan=…", or "<label>: EMPTY".
    static void logStats(const QString& label, std::span<const float> values);
    // (v − min) / (max − min), or all zeros when max − min ≤ 10⁻⁶.
    static std::vector<float> normalize(std::span<const float> values);
    // t × t × (3 − 2t) with t = (v − low) / (high − low) clamped to 0 … 1; NaN gives 0.
    static std::vector<float> smoothstep(std::span<const float> values, float low, float high);
    static Confidence confidence(std::span<const float> normalized);

private:
    CoreMLMatte();
    ~CoreMLMatte();

    // The model file as last seen: a refused file counts as refused while its
    // path, size and modification time stay the same.
    struct FileStamp {
        std::filesystem::path path;
        std::uintmax_t size = 0;
        std::filesystem::file_time_type modified;
        friend bool operator==(const FileStamp&, const FileStamp&) = default;
    };
    static std::optional<FileStamp> stampOf(const std::filesystem::path& path);
    bool isRefused(const FileStamp& file) const;
    std::shared_ptr<const Model> loadedModel();

    std::mutex m_ensureLock;        // serialises ensureLoaded
    std::mutex m_lock;              // guards loading and m_model
    std::shared_ptr<const Model> m_model; // set by a successful load, reset by release()
    std::atomic<bool> m_loaded{false}; // m_model is set
    std::mutex m_inferenceLock;     // one inference at a time
    mutable std::mutex m_refusalLock;     // guards m_refused
    std::optional<FileStamp> m_refused;   // the last file the runtime would not load
};

const char* sentence(CoreMLMatte::FailureKind kind) noexcept;

} // namespace zephrin
