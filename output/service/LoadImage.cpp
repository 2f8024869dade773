#include "output/service/CutoutService.h"

namespace zephrin::CutoutService {

Image decodeUpright(QByteArrayView encoded)
{
    ImageRead read = readImage(encoded, kLoadLimits);
    if (!read.image)
        throw Failure(read.failure == ReadFailure::tooLarge ? FailureKind::tooLarge : FailureKind::unreadable);
    return std::move(*read.image);
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
