#include "support/SamplePhoto.h"

#include <QImage>

namespace zephrin::testing {

std::optional<Image> samplePhotoCentre(cv::Size size)
{
#ifdef ZEPHRIN_SOURCE_DIR
    const QImage photo(QStringLiteral(ZEPHRIN_SOURCE_DIR "/.cache/sample/elephants.jpg"));
    if (photo.width() < size.width || photo.height() < size.height)
        return std::nullopt;
    return imageFromQImage(photo.copy((photo.width() - size.width) / 2, (photo.height() - size.height) / 2,
                                      size.width, size.height));
#else
    (void)size;
    return std::nullopt;
#endif
}

} // namespace zephrin::testing
