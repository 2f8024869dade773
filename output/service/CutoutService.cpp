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

Failure::Failure(FailureKind kind, const QString& reason) : m_kind(kind), m_reason(reason)
{
    m_text = sentence(kind);
    if (!reason.isEmpty()) {
        m_text.chop(1); // the sentence's full stop
        m_text += ": " + reason.toUtf8() + '.';
    }
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
