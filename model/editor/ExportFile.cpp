#include "model/editor/ExportFile.h"

#include "engine/codec/ImageFormat.h"

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
    static const QStringList types = [] {
        QStringList list;
        for (const ImportableFormat& format : importableFormats())
            list << format.mimeType;
        return list;
    }();
    return types;
}

const QStringList& importableImagePatterns()
{
    static const QStringList patterns = [] {
        QStringList list;
        for (const ImportableFormat& format : importableFormats())
            for (const QLatin1StringView extension : format.extensions)
                list << QStringLiteral("*.") + extension;
        return list;
    }();
    return patterns;
}

QString importableImageNames()
{
    QStringList names;
    for (const ImportableFormat& format : importableFormats())
        names << format.name;
    return names.join(QStringLiteral(", "));
}

} // namespace zephrin
