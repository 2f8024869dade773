#include "output/service/CutoutService.h"

#include "engine/codec/ImageFormat.h"
#include "engine/codec/ImageHead.h"

namespace zephrin::CutoutService {

namespace {

// Why `encoded` gave no picture, in the words the user reads.
Failure readFailure(ReadFailure why, QByteArrayView encoded)
{
    if (why == ReadFailure::tooLarge)
        return Failure(FailureKind::tooLarge, QStringLiteral("the picture would take more than %1 GB of memory")
                                                  .arg(kLoadLimits.maxDecodeBytes >> 30));
    if (!sniffedFormat(encoded))
        return Failure(FailureKind::unreadable, QStringLiteral("it isn't a picture Zephrin reads"));
    return Failure(FailureKind::unreadable, QStringLiteral("the picture is damaged or incomplete"));
}

} // namespace

Image decodeUpright(QByteArrayView encoded)
{
    ImageRead read = readImage(encoded, kLoadLimits);
    if (!read.image)
        throw readFailure(read.failure, encoded);
    return std::move(*read.image);
}

void checkHeader(QByteArrayView encoded)
{
    if (const std::optional<ReadFailure> refusal = headerRefusal(encoded, kLoadLimits))
        throw readFailure(*refusal, encoded);
}

void checkHead(QByteArrayView head)
{
    if (imageHeadRefused(head))
        throw readFailure(ReadFailure::unreadable, head);
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
