#include "engine/isnet/CoreMLMatte.h"

#include "engine/isnet/IsnetLog.h"
#include "engine/isnet/MappedFile.h"
#include "engine/isnet/ModelResource.h"
#include "engine/isnet/RuntimeEnvironment.h"
#include "engine/isnet/SessionCache.h"
#include "engine/isnet/WorkingMemory.h"
#include "engine/pixel/LanczosScale.h"
#include "engine/pixel/ParallelRows.h"
#include "engine/threads/ThreadBudget.h"

#include <QSettings>
#include <QStringList>

#include <onnxruntime_cxx_api.h>
#include <opencv2/core.hpp>

#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>

namespace zephrin {

static_assert(int(CoreMLMatte::ElementType::float32) == ONNX_TENSOR_ELEMENT_DATA_TYPE_FLOAT);
static_assert(int(CoreMLMatte::ElementType::float16) == ONNX_TENSOR_ELEMENT_DATA_TYPE_FLOAT16);
static_assert(int(CoreMLMatte::ElementType::float64) == ONNX_TENSOR_ELEMENT_DATA_TYPE_DOUBLE);

const char* sentence(CoreMLMatte::FailureKind kind) noexcept
{
    switch (kind) {
    case CoreMLMatte::FailureKind::missing: return "The IS-Net model isn't included in this build.";
    case CoreMLMatte::FailureKind::badInput: return "The image couldn't be prepared for the model.";
    case CoreMLMatte::FailureKind::badOutput: return "The model returned an unexpected result.";
    }
    return "The model returned an unexpected result.";
}

namespace {

constexpr const char* kInputName = "input_image";
constexpr const char* kOutputName = "output_image";
constexpr const char* kCpuProvider = "CPUExecutionProvider";
constexpr const char* kGpuProvider = "CUDAExecutionProvider";

// The runtime lists every provider it was built with, but loads a GPU provider
// from a separate library beside its own; without that library the provider
// cannot run, so it does not count as present.
bool gpuProviderPresent()
{
    const std::vector<std::string> available = Ort::GetAvailableProviders();
    if (std::find(available.begin(), available.end(), kGpuProvider) == available.end())
        return false;
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&OrtGetApiBase), &info) || !info.dli_fname)
        return false;
    std::error_code error;
    return std::filesystem::exists(
        std::filesystem::path(info.dli_fname).parent_path() / "libonnxruntime_providers_cuda.so", error);
}

std::optional<QString> storedComputeSetting()
{
    const QSettings settings;
    if (!settings.contains(QStringLiteral("isnetCompute")))
        return std::nullopt;
    return settings.value(QStringLiteral("isnetCompute")).toString();
}

QString listText(const std::vector<std::int64_t>& values)
{
    QStringList parts;
    for (std::int64_t value : values)
        parts << QString::number(value);
    return QLatin1Char('[') + parts.join(QStringLiteral(", ")) + QLatin1Char(']');
}

// "  input input_image: [1, 3, 1024, 1024] 1", the element type as the runtime's
// code (1 = float); a value that is not a tensor gives an empty shape and 0.
void logFeature(const char* kind, const std::string& name, const Ort::TypeInfo& info)
{
    QString shape = QStringLiteral("[]");
    QString type = QStringLiteral("0");
    if (info.GetONNXType() == ONNX_TYPE_TENSOR) {
        const auto tensor = info.GetTensorTypeAndShapeInfo();
        shape = listText(tensor.GetShape());
        type = QString::number(int(tensor.GetElementType()));
    }
    qCInfo(isnetLog).noquote() << QStringLiteral("  %1 %2: %3 %4")
                                      .arg(QLatin1String(kind), QString::fromStdString(name), shape, type);
}

// Row-major strides in elements; nullopt when the shape has a dimension below 1
// or more elements than any real buffer could hold.
std::optional<std::vector<std::int64_t>> denseStrides(const std::vector<std::int64_t>& shape)
{
    constexpr std::int64_t kMaxElements = std::int64_t(1) << 40;
    std::vector<std::int64_t> strides(shape.size());
    std::int64_t stride = 1;
    for (size_t k = shape.size(); k-- > 0;) {
        if (shape[k] < 1 || shape[k] > kMaxElements / stride)
            return std::nullopt;
        strides[k] = stride;
        stride *= shape[k];
    }
    return strides;
}

int openCVDepth(CoreMLMatte::ElementType type)
{
    switch (type) {
    case CoreMLMatte::ElementType::float32: return CV_32F;
    case CoreMLMatte::ElementType::float16: return CV_16F;
    case CoreMLMatte::ElementType::float64: return CV_64F;
    }
    return -1;
}

cv::Mat floatView(std::span<const float> values)
{
    return cv::Mat(1, int(values.size()), CV_32F, const_cast<float*>(values.data()));
}

} // namespace

// --- choice of execution provider ---------------------------------------------------

CoreMLMatte::ComputeUnits CoreMLMatte::computeUnits(const std::optional<QString>& stored)
{
    if (stored == QStringLiteral("cpu"))
        return ComputeUnits::cpuOnly;
    if (stored == QStringLiteral("gpu"))
        return ComputeUnits::cpuAndGPU;
    return ComputeUnits::all;
}

std::vector<std::string> CoreMLMatte::executionProviders(ComputeUnits units, bool gpuProviderPresent)
{
    if (units != ComputeUnits::cpuOnly && gpuProviderPresent)
        return {kGpuProvider, kCpuProvider};
    return {kCpuProvider};
}

// --- the shared runner and its session ----------------------------------------------

struct CoreMLMatte::Model {
    std::shared_ptr<const MappedFile> mapping; // the cached model the session reads; outlives it
    mutable Ort::Session session{nullptr}; // Run is safe to call from several threads
    std::vector<std::string> providers;
    std::vector<std::string> outputNames;
    std::filesystem::path cacheFile;            // the optimised copy, beside which the working memory is noted
    std::size_t loaded = 0;                     // the working memory in use once the session was made
    mutable std::atomic<std::size_t> noted{0};  // the working memory noted there for a session like this one

    Model() = default;
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;
    // The session's working memory goes back with it.
    ~Model()
    {
        session = Ort::Session(nullptr);
        WorkingMemory::shared().giveBack();
    }
};

CoreMLMatte::CoreMLMatte() = default;
CoreMLMatte::~CoreMLMatte() = default;

CoreMLMatte& CoreMLMatte::shared()
{
    // Never destroyed, like the runtime's environment its session needs.
    static CoreMLMatte& runner = *new CoreMLMatte;
    return runner;
}

std::optional<CoreMLMatte::FileStamp> CoreMLMatte::stampOf(const std::filesystem::path& path)
{
    std::error_code error;
    FileStamp stamp{path, std::filesystem::file_size(path, error), {}};
    if (!error)
        stamp.modified = std::filesystem::last_write_time(path, error);
    return error ? std::nullopt : std::optional(stamp);
}

bool CoreMLMatte::isRefused(const FileStamp& file) const
{
    const std::lock_guard lock(m_refusalLock);
    return m_refused == file;
}

bool CoreMLMatte::isAvailable()
{
    const std::optional<std::filesystem::path> path = isnetModelPath();
    if (!path)
        return false;
    const std::optional<FileStamp> file = stampOf(*path);
    return file && !shared().isRefused(*file);
}

bool CoreMLMatte::ensureLoaded()
{
    // One caller at a time, so that callers waiting on a load that fails learn
    // of the refusal instead of trying (and logging) it again.
    const std::lock_guard ensuring(m_ensureLock);
    const std::optional<std::filesystem::path> path = isnetModelPath();
    const std::optional<FileStamp> file = path ? stampOf(*path) : std::nullopt;
    if (!file || isRefused(*file))
        return false;
    QString reason;
    try {
        const std::shared_ptr<const Model> model = loadModel(); // held: release() may come meanwhile
        const std::vector<std::string>& outputs = model->outputNames;
        if (std::find(outputs.begin(), outputs.end(), kOutputName) != outputs.end())
            return true;
        reason = QStringLiteral("it has no output named %1").arg(QLatin1String(kOutputName));
    } catch (const Failure&) {
        return false;  // the file went away meanwhile
    } catch (const std::exception& refusal) {
        // The runtime's reason can run over several lines; the first says it.
        reason = QString::fromUtf8(refusal.what()).section(QLatin1Char('\n'), 0, 0).trimmed();
    }
    qCWarning(isnetLog).noquote() << QStringLiteral("model %1 could not be loaded, using Subject Lift: %2")
                                         .arg(QString::fromStdString(path->filename().string()), reason);
    const std::lock_guard lock(m_refusalLock);
    m_refused = file;
    return false;
}

std::shared_ptr<const CoreMLMatte::Model> CoreMLMatte::loadModel()
{
    std::shared_ptr<const Model> model = loadedModel();
    // The pages its inferences work in are mapped in, at once when they are
    // already: after a load, on every core while the caller still decodes its
    // picture, so that the first inference finds them as a later one would.
    WorkingMemory::shared().prepare(model->noted);
    return model;
}

std::shared_ptr<const CoreMLMatte::Model> CoreMLMatte::loadedModel()
{
    const std::lock_guard lock(m_lock);
    if (m_model)
        return m_model;
    const std::optional<std::filesystem::path> path = isnetModelPath();
    if (!path)
        throw Failure(FailureKind::missing);

    auto model = std::make_unique<Model>();
    model->providers = executionProviders(computeUnits(storedComputeSetting()), gpuProviderPresent());
    if (model->providers.front() == kGpuProvider) {
        try {
            Ort::CUDAProviderOptions gpu;
            Ort::SessionOptions probe;
            probe.AppendExecutionProvider_CUDA_V2(*gpu);
        } catch (const Ort::Exception&) {
            model->providers = {kCpuProvider}; // the GPU library would not load: stay on the CPU
        }
    }
    const bool onGpu = model->providers.front() == kGpuProvider;
    WorkingMemory::shared().registerWith(runtimeEnvironment());
    const auto options = [onGpu] {
        Ort::SessionOptions options;
        options.SetIntraOpNumThreads(threadBudget().networkThreads);
        options.SetInterOpNumThreads(1);
        options.DisableMemPattern();
        options.AddConfigEntry("session.use_env_allocators", "1"); // WorkingMemory
        // The runtime's threads otherwise spin for tens of milliseconds after a
        // run, on the cores the backdrop probes and the refine need next.
        options.AddConfigEntry("session.force_spinning_stop", "1");
        if (onGpu) {
            Ort::CUDAProviderOptions gpu;
            options.AppendExecutionProvider_CUDA_V2(*gpu);
        }
        return options;
    };
    // The optimised graph of a GPU provider is not kept: only CPU sessions are cached.
    CachedSession opened = openCachedSession(runtimeEnvironment(), *path, onGpu ? std::filesystem::path() : modelCacheFolder(),
                                             "CPUExecutionProvider", options);
    model->session = std::move(opened.session);
    model->mapping = std::move(opened.mapping);
    model->cacheFile = std::move(opened.file);
    model->outputNames = model->session.GetOutputNames();
    model->loaded = WorkingMemory::shared().bytesInUse();

    QStringList providerNames;
    for (const std::string& name : model->providers)
        providerNames << QString::fromStdString(name);
    qCInfo(isnetLog).noquote() << QString::asprintf("IS-Net loaded from %s with computeUnits=%s",
                                                    path->filename().c_str(),
                                                    qUtf8Printable(providerNames.join(QLatin1Char(','))));
    const std::vector<std::string> inputNames = model->session.GetInputNames();
    for (size_t i = 0; i < inputNames.size(); ++i)
        logFeature("input", inputNames[i], model->session.GetInputTypeInfo(i));
    for (size_t i = 0; i < model->outputNames.size(); ++i)
        logFeature("output", model->outputNames[i], model->session.GetOutputTypeInfo(i));

    // What the inferences took in an earlier process whose session was made
    // as this one, for loadModel() to map in.
    if (const std::optional<WorkingMemoryNote> note = notedWorkingMemory(model->cacheFile))
        model->noted = note->forSession(model->loaded);

    m_model = std::move(model);
    m_loaded.store(true, std::memory_order_release);
    return m_model;
}

void CoreMLMatte::releaseWorkingMemory()
{
    // A mask under way (one that replaced the caller's, or a batch's) needs
    // the pages at once.
    const std::unique_lock inference(m_inferenceLock, std::try_to_lock);
    if (inference.owns_lock())
        WorkingMemory::shared().giveBack();
}

void CoreMLMatte::release()
{
    // A mask under way holds a reference of its own; otherwise the session goes
    // at the end of this function, outside the lock, so that a load waiting on
    // the lock is not held up by it.
    std::shared_ptr<const Model> released;
    {
        const std::lock_guard lock(m_lock);
        released = std::move(m_model);
        m_loaded.store(false, std::memory_order_release);
    }
    if (released)
        qCInfo(isnetLog).noquote() << QStringLiteral("IS-Net released");
}

void CoreMLMatte::removeUnfinishedCache() { removeUnfinishedCopies(modelCacheFolder()); }

// --- one mask -------------------------------------------------------------------------

CoreMLMatte::Mask CoreMLMatte::mask(const Image& image)
{
    const int width = image.width();
    const int height = image.height();
    const std::vector<float> raw = run(makeInput(image, kSide));
    logStats(QStringLiteral("raw output"), raw);
    const std::vector<float> norm = normalize(raw);
    const Confidence verdict = confidence(norm);
    const bool scene = verdict.sceneFallback();
    qCInfo(isnetLog).noquote() << QString::asprintf(
        "confidence: confident %ld‰ ambiguous %ld‰ → %s", long(verdict.confident * 1000 / verdict.n),
        long(verdict.ambiguous * 1000 / verdict.n), scene ? "SCENE fallback" : "subject");
    if (scene)
        return {Matte::filled({width, height}, 255), true};

    std::vector<float> soft = smoothstep(norm, 0.2f, 0.8f);
    logStats(QStringLiteral("normalized mask"), soft);
    cv::Mat bytes;
    cv::Mat(kSide, kSide, CV_32F, soft.data()).convertTo(bytes, CV_8U, 255.0); // rounds to nearest
    // Stretches the square back to the image's proportions.
    return {resized(Matte(bytes), {width, height}), false};
}

std::vector<float> CoreMLMatte::run(std::span<const float> input)
{
    if (input.size() != 3 * std::size_t(kSide) * std::size_t(kSide))
        throw Failure(FailureKind::badInput);
    const std::shared_ptr<const Model> model = loadModel();
    logStats(QStringLiteral("input"), input);

    const auto start = std::chrono::steady_clock::now();
    const std::int64_t inputShape[] = {1, 3, kSide, kSide};
    const Ort::MemoryInfo memory = Ort::MemoryInfo::CreateCpu(OrtArenaAllocator, OrtMemTypeDefault);
    const Ort::Value inputTensor = Ort::Value::CreateTensor<float>(memory, const_cast<float*>(input.data()),
                                                                   input.size(), inputShape, 4);
    const auto& names = model->outputNames;
    if (std::find(names.begin(), names.end(), kOutputName) == names.end())
        throw Failure(FailureKind::badOutput);
    const char* inputName = kInputName;
    const char* outputName = kOutputName;
    // The working memory stays mapped in for the next inference (mapped anew,
    // its page faults made most of a second inference's time again).
    std::vector<Ort::Value> outputs = [&] {
        const std::lock_guard inference(m_inferenceLock);
        const std::uint64_t begun = WorkingMemory::shared().inferenceBegins();
        auto ran = model->session.Run(Ort::RunOptions{nullptr}, &inputName, &inputTensor, 1, &outputName, 1);
        WorkingMemory::shared().inferenceEnded(begun);
        return ran;
    }();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::size_t used = WorkingMemory::shared().highWater();
    // Noted when it differs: a note that promised more than the inference
    // took costs one process only.
    if (model->noted.exchange(used) != used)
        noteWorkingMemory(model->cacheFile, {model->loaded, used});
    QStringList featureNames;
    for (const std::string& name : names)
        featureNames << QString::fromStdString(name);
    qCInfo(isnetLog).noquote() << QString::asprintf("prediction took %.*f s; features: %s", 2, seconds,
                                                    qUtf8Printable(featureNames.join(QLatin1Char(','))));

    if (outputs.size() != 1 || !outputs[0].IsTensor())
        throw Failure(FailureKind::badOutput);
    const auto info = outputs[0].GetTensorTypeAndShapeInfo();
    const Tensor output{outputs[0].GetTensorRawData(), ElementType(info.GetElementType()), info.GetShape()};
    const auto strides = denseStrides(output.shape);
    qCInfo(isnetLog).noquote() << QString::asprintf(
        "output shape %s dtype %ld strides %s count %ld", qUtf8Printable(listText(output.shape)),
        long(output.elementType), qUtf8Printable(strides ? listText(*strides) : QStringLiteral("[]")),
        long(info.GetElementCount()));
    return readOutput(output, kSide);
}

// --- input and output -----------------------------------------------------------------

std::vector<float> CoreMLMatte::makeInput(const Image& image, int side)
{
    if (image.empty() || side < 1)
        throw Failure(FailureKind::badInput);
    const Image square = resized(image, {side, side});
    if (square.size() != cv::Size(side, side))
        throw Failure(FailureKind::badInput);

    const size_t plane = size_t(side) * size_t(side);
    std::vector<float> input(3 * plane);
    float* const planes = input.data();
    parallelRows(side, side, [&](int firstRow, int endRow) {
        cv::Mat channels[4];
        cv::split(square.pixels.rowRange(firstRow, endRow), channels);
        const cv::Mat clear = 255 - channels[3]; // how much of the white shows through
        for (int c = 0; c < 3; ++c) {
            // Premultiplied colour over white: c + (255 − alpha), at most 255 as c ≤ alpha.
            cv::Mat overWhite;
            cv::add(channels[c], clear, overWhite);
            cv::Mat target(endRow - firstRow, side, CV_32F, planes + size_t(c) * plane + size_t(firstRow) * size_t(side));
            overWhite.convertTo(target, CV_32F, 1.0 / 255.0, -0.5);
        }
    });
    return input;
}

std::vector<float> CoreMLMatte::readOutput(const Tensor& output, int side)
{
    const int depth = openCVDepth(output.elementType);
    const auto strides = denseStrides(output.shape);
    if (!output.data || depth < 0 || !strides || side < 1)
        throw Failure(FailureKind::badOutput);
    size_t rowAxis = output.shape.size();
    for (size_t k = 0; k + 1 < output.shape.size(); ++k) {
        if (output.shape[k] == side && output.shape[k + 1] == side) {
            rowAxis = k;
            break;
        }
    }
    if (rowAxis == output.shape.size())
        throw Failure(FailureKind::badOutput);

    // The map's rows step by the row axis's stride and its columns by the next
    // axis's; every other axis stays at index 0, so the map starts at element 0.
    const std::int64_t rowStride = (*strides)[rowAxis];
    const std::int64_t columnStride = (*strides)[rowAxis + 1];
    const size_t elementSize = CV_ELEM_SIZE1(depth);
    std::vector<float> map(size_t(side) * size_t(side));
    cv::Mat target(side, side, CV_32F, map.data());
    if (columnStride == 1) {
        const cv::Mat source(side, side, depth, const_cast<void*>(output.data), size_t(rowStride) * elementSize);
        source.convertTo(target, CV_32F);
    } else {
        // Channels last: gather each row into a contiguous buffer, then convert.
        cv::Mat row(1, side, depth);
        const auto* base = static_cast<const uchar*>(output.data);
        for (int y = 0; y < side; ++y) {
            const uchar* first = base + size_t(y) * size_t(rowStride) * elementSize;
            for (int x = 0; x < side; ++x)
                std::memcpy(row.ptr() + size_t(x) * elementSize, first + size_t(x) * size_t(columnStride) * elementSize,
                            elementSize);
            row.convertTo(target.row(y), CV_32F);
        }
    }
    return map;
}

// --- statistics and maps --------------------------------------------------------------

void CoreMLMatte::logStats(const QString& label, std::span<const float> values)
{
    if (values.empty()) {
        qCCritical(isnetLog).noquote() << QString::asprintf("%s: EMPTY", qUtf8Printable(label));
        return;
    }
    if (!isnetLog().isInfoEnabled())
        return; // nobody reads the line: spare the passes over the values
    const cv::Mat view = floatView(values);
    double minimum = 0, maximum = 0;
    cv::minMaxIdx(view, &minimum, &maximum);
    const double mean = cv::sum(view)[0] / double(values.size());
    const long aboveHalf = long(cv::countNonZero(view > 0.5));
    const bool anyNaN = cv::countNonZero(view != view) > 0;
    qCInfo(isnetLog).noquote() << QString::asprintf("%s: n=%ld min=%f max=%f mean=%f >0.5: %ld nan=%s",
                                                    qUtf8Printable(label), long(values.size()), minimum, maximum,
                                                    mean, aboveHalf, anyNaN ? "true" : "false");
}

std::vector<float> CoreMLMatte::normalize(std::span<const float> values)
{
    std::vector<float> result(values.size(), 0.0f);
    if (values.empty())
        return result;
    const cv::Mat view = floatView(values);
    double minimum = 0, maximum = 0;
    cv::minMaxIdx(view, &minimum, &maximum);
    const float range = float(maximum) - float(minimum);
    if (!(range > 0.000001f))
        return result;
    // (v − min) / (max − min) as one scale and offset.
    view.convertTo(floatView(result), CV_32F, 1.0 / range, -minimum / range);
    return result;
}

std::vector<float> CoreMLMatte::smoothstep(std::span<const float> values, float low, float high)
{
    std::vector<float> result(values.size());
    if (values.empty())
        return result;
    const double scale = 1.0 / (double(high) - double(low));
    cv::Mat t;
    floatView(values).convertTo(t, CV_32F, scale, -double(low) * scale);
    cv::patchNaNs(t, 0);
    t = cv::min(cv::max(t, 0.0), 1.0);
    cv::Mat ease; // 3 − 2t
    t.convertTo(ease, CV_32F, -2.0, 3.0);
    cv::Mat out = floatView(result);
    cv::multiply(t, t, out);
    cv::multiply(out, ease, out);
    return result;
}

CoreMLMatte::Confidence CoreMLMatte::confidence(std::span<const float> normalized)
{
    Confidence result;
    result.n = normalized.size();
    if (normalized.empty())
        return result;
    const cv::Mat view = floatView(normalized);
    result.confident = size_t(cv::countNonZero(view >= 0.8f));
    // 0.2 < v < 0.8: above 0.2 but not confident (NaN is neither).
    result.ambiguous = size_t(cv::countNonZero(view > 0.2f)) - result.confident;
    return result;
}

bool CoreMLMatte::Confidence::sceneFallback() const
{
    // c < 0.02  ⇔  50 × confident < n;   a > 0.25  ⇔  4 × ambiguous > n;   2c < a.
    return n == 0 || 50 * confident < n || (4 * ambiguous > n && 2 * confident < ambiguous);
}

} // namespace zephrin
