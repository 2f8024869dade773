#include "output/service/CutoutService.h"

namespace zephrin::CutoutService {

const char* sentence(FailureKind kind) noexcept
{
    switch (kind) {
    case FailureKind::unreadable: return "That image couldn't be read.";
    case FailureKind::noSubject: return "No subject was found in this image.";
    case FailureKind::renderFailed: return "The cutout couldn't be rendered.";
    case FailureKind::encodeFailed: return "The cutout couldn't be saved.";
    case FailureKind::tooLarge: return "That image is too large.";
    }
    return "The cutout couldn't be rendered.";
}

ExportFormat exportFormat(Format format)
{
    switch (format) {
    case Format::jpeg: return ExportFormat::jpg;
    case Format::heic: return ExportFormat::heic;
    case Format::png: break;
    }
    return ExportFormat::png;
}

} // namespace zephrin::CutoutService
