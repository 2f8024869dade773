#include "output/service/CutoutService.h"

namespace zephrin::CutoutService {

Image decodeUpright(QByteArrayView encoded)
{
    ImageRead read = readImage(encoded, kLoadLimits);
    if (!read.image)
        throw Failure(read.failure == ReadFailure::tooLarge ? FailureKind::tooLarge : FailureKind::unreadable);
    return std::move(*read.image);
}

void checkHeader(QByteArrayView encoded)
{
    if (const std::optional<ReadFailure> refusal = headerRefusal(encoded, kLoadLimits))
        throw Failure(*refusal == ReadFailure::tooLarge ? FailureKind::tooLarge : FailureKind::unreadable);
}

std::optional<Image> loadImage(QByteArrayView encoded)
{
    try {
        return decodeUpright(encoded);
    } catch (const Failure&) {
        return std::nullopt;
    }
}

} // namespace zephrin::CutoutService
