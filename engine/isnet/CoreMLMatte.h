#pragma once
// The IS-Net runner: finds the subject with the segmentation network that ships
// beside the executables.

#include "engine/types/SentenceError.h"

namespace zephrin {

class CoreMLMatte final {
public:
    enum class FailureKind { missing, badInput, badOutput };
    using Failure = SentenceError<FailureKind>;
};

const char* sentence(CoreMLMatte::FailureKind kind) noexcept;

} // namespace zephrin
