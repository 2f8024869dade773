#include "engine/isnet/ModelResource.h"

#include <cstdlib>
#include <system_error>

namespace zephrin {

namespace {

constexpr const char* kModelFileName = "ISNetGeneral.onnx";

bool isModelFile(const std::filesystem::path& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

std::filesystem::path executableFolder()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}

} // namespace

std::optional<std::filesystem::path> findIsnetModel(const char* environmentValue,
                                                    const std::filesystem::path& executableFolder)
{
    if (environmentValue) {
        const std::filesystem::path chosen(environmentValue);
        return isModelFile(chosen) ? std::optional(chosen) : std::nullopt;
    }
    if (executableFolder.empty())
        return std::nullopt;
    for (const std::filesystem::path& candidate :
         {executableFolder / kModelFileName,
          (executableFolder / ".." / "share" / "zephrin" / kModelFileName).lexically_normal()}) {
        if (isModelFile(candidate))
            return candidate;
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> isnetModelPath()
{
    return findIsnetModel(std::getenv("ZEPHRIN_MODEL"), executableFolder());
}

} // namespace zephrin
