#include "engine/isnet/CoreMLMatte.h"

namespace zephrin {

const char* sentence(CoreMLMatte::FailureKind kind) noexcept
{
    switch (kind) {
    case CoreMLMatte::FailureKind::missing: return "The IS-Net model isn't included in this build.";
    case CoreMLMatte::FailureKind::badInput: return "The image couldn't be prepared for the model.";
    case CoreMLMatte::FailureKind::badOutput: return "The model returned an unexpected result.";
    }
    return "The model returned an unexpected result.";
}

} // namespace zephrin
