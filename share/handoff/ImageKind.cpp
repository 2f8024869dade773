#include "share/handoff/ImageKind.h"

#include <QFileInfo>

namespace zephrin {

namespace {

quint64 bigEndian(const QByteArray& bytes, qsizetype at, int size)
{
    quint64 value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | quint8(bytes[at + i]);
    return value;
}

// An ISO base media file (its first box a 'ftyp'), by that box's brands: the
// still pictures of HEVC (HEIC) and of AV1 (AVIF). Many cameras write the
// plain "mif1" as the major brand and the codec's brand among the compatible
// ones; sequences and layered pictures that name neither are files the
// editor's reader does not take.
QString isoStillExtension(const QByteArray& head)
{
    quint64 size = bigEndian(head, 0, 4);
    qsizetype body = 8;
    if (size == 1) {
        if (head.size() < 16)
            return {};
        size = bigEndian(head, 8, 8);
        body = 16;
    }
    // The major brand, a minor version, then the compatible brands; those
    // that the bytes hold of a box cut short still count.
    const qsizetype end = size == 0 || size > quint64(head.size()) ? head.size() : qsizetype(size);
    const auto brandAt = [&](qsizetype at) {
        const QByteArray brand = head.mid(at, 4);
        if (brand == "heic" || brand == "heix")
            return QStringLiteral("heic");
        if (brand == "avif")
            return QStringLiteral("avif");
        return QString();
    };
    if (body + 4 <= end) {
        if (QString kind = brandAt(body); !kind.isEmpty())
            return kind;
    }
    for (qsizetype at = body + 8; at + 4 <= end; at += 4)
        if (QString kind = brandAt(at); !kind.isEmpty())
            return kind;
    return {};
}

} // namespace

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
    if (startsWith("ftyp", 4, 4))
        return isoStillExtension(head);
    return {};
}

} // namespace zephrin
