#include "engine/types/MatteError.h"

namespace zephrin {

const char* sentence(MatteErrorKind kind) noexcept
{
    switch (kind) {
    case MatteErrorKind::noSubjectFound: return "No subject was found in this image.";
    case MatteErrorKind::renderFailed: return "The image couldn't be rendered.";
    case MatteErrorKind::unsupportedFormat: return "That export format isn't available yet.";
    }
    return "The image couldn't be rendered.";
}

} // namespace zephrin
