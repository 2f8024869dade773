#pragma once
// "Remove Background": the automation request that turns one image file into its
// cutout file. The command-line program zephrin-cutout is its entry point, with
// the request's title, parameter titles and default.

#include "output/service/CutoutService.h"

#include <QByteArray>
#include <QString>

#include <string>

namespace zephrin {

// A file handed to the request or returned by it: its bytes and its name
// (without a folder).
struct IntentFile {
    QByteArray data;
    QString filename;

    friend bool operator==(const IntentFile&, const IntentFile&) = default;
};

struct RemoveBackgroundIntent {
    static constexpr const char* title = "Remove Background";
    static constexpr const char* imageTitle = "Image";
    static constexpr const char* formatTitle = "Format (PNG, JPEG, or HEIC)";
    static constexpr const char* defaultFormat = "PNG";
    // The long edge of every cutout the request returns.
    static constexpr int maxLongEdge = 2400;

    IntentFile image;
    QString format = QString::fromLatin1(defaultFormat);

    // "Remove background from <image> as <format>".
    static QString parameterSummary(const QString& image, const QString& format);

    // The format named by the text: upper-cased, then "JPEG" or "JPG" is jpeg,
    // "HEIC" is heic, and anything else (PNG, WEBP, empty, or with blanks
    // around it: nothing is trimmed) is png.
    static CutoutService::Format mappedFormat(const QString& text);

    // The input's name less its last extension, then "-cutout." and the format's
    // extension: beach.photo.JPG as jpeg gives beach.photo-cutout.jpg. A leading
    // dot does not start an extension.
    static QString resultFileName(const QString& inputFilename, CutoutService::Format format);
    // The same for a name as the file system holds it, bytes that need not be
    // UTF-8.
    static std::string resultFileName(const std::string& inputFilename, CutoutService::Format format);

    // The cutout of the image file, named by resultFileName. Throws
    // CutoutService::Failure (unreadable or tooLarge from decodeUpright, or
    // whatever the cutout throws).
    IntentFile perform() const;
    // The same for the picture decodeUpright has made of the image file
    // already: throws whatever the cutout throws.
    IntentFile cutout(const Image& upright) const;
};

} // namespace zephrin
