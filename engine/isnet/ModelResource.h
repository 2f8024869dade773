#pragma once
// Where the IS-Net model resource, ISNetGeneral.onnx, is found at run time.

#include <filesystem>
#include <optional>

namespace zephrin {

// The model file, or nullopt when there is none. When the environment variable
// ZEPHRIN_MODEL is set, the path it names is the only one considered (so a run
// can point at another file, or hide the model by naming a missing one).
// Otherwise the first existing of:
//   <folder of the running executable>/ISNetGeneral.onnx   (the build tree)
//   <folder of the running executable>/../share/zephrin/ISNetGeneral.onnx   (an install)
std::optional<std::filesystem::path> isnetModelPath();

// The same rules on explicit inputs: `environmentValue` is ZEPHRIN_MODEL's value
// (nullptr when unset), `executableFolder` the folder of the executable (empty
// when unknown).
std::optional<std::filesystem::path> findIsnetModel(const char* environmentValue,
                                                    const std::filesystem::path& executableFolder);

} // namespace zephrin
