#include "model/editor/ExportFile.h"

namespace zephrin {

QString contentType(ExportFormat format)
{
    switch (format) {
    case ExportFormat::png: return QStringLiteral("image/png");
    case ExportFormat::jpg: return QStringLiteral("image/jpeg");
    case ExportFormat::webp: return QStringLiteral("image/webp");
    case ExportFormat::heic: return QStringLiteral("image/heic");
    case ExportFormat::svg: return QStringLiteral("image/svg+xml");
    }
    return QStringLiteral("image/png");
}

QString ExportFile::contentType() const
{
    return zephrin::contentType(format);
}

const QStringList& importableImageTypes()
{
    static const QStringList types{QStringLiteral("image/png"),  QStringLiteral("image/jpeg"),
                                   QStringLiteral("image/heic"), QStringLiteral("image/webp"),
                                   QStringLiteral("image/tiff"), QStringLiteral("image/bmp"),
                                   QStringLiteral("image/gif")};
    return types;
}

const QStringList& importableImagePatterns()
{
    static const QStringList patterns{
        QStringLiteral("*.png"),  QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"), QStringLiteral("*.heic"),
        QStringLiteral("*.heif"), QStringLiteral("*.webp"), QStringLiteral("*.tif"), QStringLiteral("*.tiff"),
        QStringLiteral("*.bmp"),  QStringLiteral("*.gif")};
    return patterns;
}

} // namespace zephrin
