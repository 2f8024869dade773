#pragma once
// The bytes of a finished export, waiting for the save dialog, with the name
// the dialog suggests; and the file types the editor reads and writes.

#include "engine/types/ExportFormat.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace zephrin {

struct ExportFile {
    QByteArray data;                        // written unchanged
    ExportFormat format = ExportFormat::png;
    QString name;                           // suggested file name, without extension
    std::optional<int> sheetStamp;          // the sticker sheet's render it holds; none: the image's

    QString contentType() const;            // "image/png", …
    QString fileExtension() const { return QString::fromLatin1(zephrin::fileExtension(format)); }

    friend bool operator==(const ExportFile&, const ExportFile&) = default;
};

// The MIME type of a format's files.
QString contentType(ExportFormat format);

// Whether the format's export takes the quality setting (JPG, WebP, HEIC).
constexpr bool hasQuality(ExportFormat format)
{
    return format == ExportFormat::jpg || format == ExportFormat::webp || format == ExportFormat::heic;
}

// The image types the importers and the batch accept, as MIME types in the
// order the dialogs list them: PNG, JPEG, HEIC, AVIF, WebP, TIFF, BMP, GIF.
const QStringList& importableImageTypes();

// The same as file-name patterns for a file dialog ("*.png", "*.jpg", …).
const QStringList& importableImagePatterns();

// The same as people call them, for the empty canvas: "PNG, JPG, HEIC, …".
QString importableImageNames();

} // namespace zephrin
