#pragma once
// The engine's failures that reach the user.

#include "engine/types/SentenceError.h"

namespace zephrin {

enum class MatteErrorKind { noSubjectFound, renderFailed, unsupportedFormat };

const char* sentence(MatteErrorKind kind) noexcept;

using MatteError = SentenceError<MatteErrorKind>;

} // namespace zephrin
