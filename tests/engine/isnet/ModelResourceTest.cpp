#include "engine/isnet/ModelResource.h"
#include "engine/isnet/RuntimeEnvironment.h"

#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>
#include <onnxruntime_cxx_api.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

using namespace zephrin;
namespace fs = std::filesystem;

namespace {

// A fresh folder under the system temporary folder, removed with the object.
struct ScratchFolder {
    fs::path path = fs::temp_directory_path() / ("zephrin-model-" + std::to_string(::getpid()));
    ScratchFolder() { fs::create_directories(path); }
    ~ScratchFolder() { fs::remove_all(path); }
    fs::path touch(const fs::path& relative) const
    {
        fs::create_directories((path / relative).parent_path());
        std::ofstream(path / relative) << "model";
        return path / relative;
    }
};

} // namespace

TEST(IsnetModelPath, EnvironmentVariableIsTheOnlyPlaceLookedAt)
{
    ScratchFolder scratch;
    const fs::path elsewhere = scratch.touch("elsewhere.onnx");
    const fs::path bin = scratch.path / "bin";
    scratch.touch("bin/ISNetGeneral.onnx");

    EXPECT_EQ(findIsnetModel(elsewhere.c_str(), bin), elsewhere);
    // A missing file hides the model even though one lies beside the executable.
    EXPECT_EQ(findIsnetModel((scratch.path / "missing.onnx").c_str(), bin), std::nullopt);
    EXPECT_EQ(findIsnetModel("", bin), std::nullopt);
    // A folder is not a model.
    EXPECT_EQ(findIsnetModel(bin.c_str(), bin), std::nullopt);

    {
        const zephrin::testing::ScopedEnvironment variable("ZEPHRIN_MODEL", (scratch.path / "missing.onnx").c_str());
        EXPECT_EQ(isnetModelPath(), std::nullopt);
    }
    {
        const zephrin::testing::ScopedEnvironment variable("ZEPHRIN_MODEL", elsewhere.c_str());
        EXPECT_EQ(isnetModelPath(), elsewhere);
    }
}

TEST(IsnetModelPath, LooksBesideTheExecutableThenInItsShareFolder)
{
    ScratchFolder scratch;
    const fs::path bin = scratch.path / "bin";
    fs::create_directories(bin);
    EXPECT_EQ(findIsnetModel(nullptr, bin), std::nullopt);

    const fs::path installed = scratch.touch("share/zephrin/ISNetGeneral.onnx");
    EXPECT_EQ(findIsnetModel(nullptr, bin), installed);

    const fs::path beside = scratch.touch("bin/ISNetGeneral.onnx");
    EXPECT_EQ(findIsnetModel(nullptr, bin), beside);

    EXPECT_EQ(findIsnetModel(nullptr, fs::path()), std::nullopt);
}

// --- the converted network ---------------------------------------------------------

namespace {

constexpr int64_t kSide = 1024;

Ort::Session openModel(const fs::path& path)
{
    Ort::SessionOptions options;
    options.SetIntraOpNumThreads(4);
    options.DisableMemPattern();
    return Ort::Session(runtimeEnvironment(), path.c_str(), options);
}

void checkFloatTensor(const Ort::TypeInfo& info, const std::vector<int64_t>& shape)
{
    ASSERT_EQ(info.GetONNXType(), ONNX_TYPE_TENSOR);
    const auto tensor = info.GetTensorTypeAndShapeInfo();
    EXPECT_EQ(tensor.GetElementType(), ONNX_TENSOR_ELEMENT_DATA_TYPE_FLOAT);
    EXPECT_EQ(tensor.GetShape(), shape);
}

} // namespace

TEST(IsnetModel, TakesOneImageAndGivesOneMatte)
{
    const std::optional<fs::path> path = isnetModelPath();
    ASSERT_TRUE(path) << "no ISNetGeneral.onnx: run scripts/setup, and leave ZEPHRIN_MODEL unset";
    Ort::Session session = openModel(*path);
    Ort::AllocatorWithDefaultOptions allocator;

    ASSERT_EQ(session.GetInputCount(), 1u);
    ASSERT_EQ(session.GetOutputCount(), 1u);
    EXPECT_STREQ(session.GetInputNameAllocated(0, allocator).get(), "input_image");
    EXPECT_STREQ(session.GetOutputNameAllocated(0, allocator).get(), "output_image");
    checkFloatTensor(session.GetInputTypeInfo(0), {1, 3, kSide, kSide});
    checkFloatTensor(session.GetOutputTypeInfo(0), {1, 1, kSide, kSide});
}

TEST(IsnetModel, PredictsProbabilitiesThatFindABrightDisc)
{
    const std::optional<fs::path> path = isnetModelPath();
    ASSERT_TRUE(path) << "no ISNetGeneral.onnx: run scripts/setup, and leave ZEPHRIN_MODEL unset";
    Ort::Session session = openModel(*path);

    // A red disc on a light grey ground, in the network's range (value / 255 - 0.5).
    std::vector<float> input(3 * kSide * kSide);
    const float disc[3] = {230, 40, 40};
    for (int64_t y = 0; y < kSide; ++y) {
        for (int64_t x = 0; x < kSide; ++x) {
            const bool inside = (x - 512) * (x - 512) + (y - 512) * (y - 512) < 250 * 250;
            for (int64_t c = 0; c < 3; ++c)
                input[(c * kSide + y) * kSide + x] = (inside ? disc[c] : 200.0f) / 255.0f - 0.5f;
        }
    }
    const int64_t shape[] = {1, 3, kSide, kSide};
    const auto memory = Ort::MemoryInfo::CreateCpu(OrtArenaAllocator, OrtMemTypeDefault);
    const Ort::Value image = Ort::Value::CreateTensor<float>(memory, input.data(), input.size(), shape, 4);
    const char* inputName = "input_image";
    const char* outputName = "output_image";
    std::vector<Ort::Value> outputs = session.Run(Ort::RunOptions{nullptr}, &inputName, &image, 1, &outputName, 1);

    ASSERT_EQ(outputs.size(), 1u);
    const float* matte = outputs[0].GetTensorData<float>();
    const size_t count = outputs[0].GetTensorTypeAndShapeInfo().GetElementCount();
    ASSERT_EQ(count, size_t(kSide * kSide));
    EXPECT_TRUE(std::all_of(matte, matte + count, [](float v) { return std::isfinite(v) && v >= 0 && v <= 1; }));
    EXPECT_GT(matte[512 * kSide + 512], 0.9f);
    EXPECT_LT(matte[10 * kSide + 10], 0.1f);
}
