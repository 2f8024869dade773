#include "share/handoff/ImageKind.h"

#include <QFileInfo>

namespace zephrin {

const QStringList& handedOverExtensions()
{
    static const QStringList extensions{QStringLiteral("png"),  QStringLiteral("jpg"),  QStringLiteral("jpeg"),
                                        QStringLiteral("heic"), QStringLiteral("heif"), QStringLiteral("avif"),
                                        QStringLiteral("webp"), QStringLiteral("tif"),  QStringLiteral("tiff"),
                                        QStringLiteral("bmp"),  QStringLiteral("gif")};
    return extensions;
}

bool isImageFileName(const QString& fileName)
{
    return handedOverExtensions().contains(QFileInfo(fileName).suffix().toLower());
}

QString imageExtensionFromMagic(const QByteArray& head)
{
    const auto startsWith = [&](const char* bytes, qsizetype length, qsizetype at = 0) {
        return head.size() >= at + length && head.mid(at, length) == QByteArray(bytes, length);
    };
    if (startsWith("\x89PNG\r\n\x1a\n", 8))
        return QStringLiteral("png");
    if (startsWith("\xff\xd8\xff", 3))
        return QStringLiteral("jpg");
    if (startsWith("GIF87a", 6) || startsWith("GIF89a", 6))
        return QStringLiteral("gif");
    if (startsWith("RIFF", 4) && startsWith("WEBP", 4, 8))
        return QStringLiteral("webp");
    if (startsWith("II*\0", 4) || startsWith("MM\0*", 4))
        return QStringLiteral("tiff");
    if (startsWith("BM", 2) && head.size() >= 14)
        return QStringLiteral("bmp");
    if (startsWith("ftyp", 4, 4)) {
        // An ISO base media file, by its major brand: the still pictures of
        // HEVC (HEIC) and of AV1 (AVIF). Sequences, layered pictures and the
        // bare "mif1" brand are files the editor's reader does not take.
        if (startsWith("heic", 4, 8) || startsWith("heix", 4, 8))
            return QStringLiteral("heic");
        if (startsWith("avif", 4, 8))
            return QStringLiteral("avif");
    }
    return {};
}

} // namespace zephrin
