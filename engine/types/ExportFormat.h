#pragma once
// The export file types. The raster encoder writes the first four and refuses
// svg, which the vectorizer writes.

#include "engine/types/RawEnum.h"
#include "engine/types/SettingRange.h"

namespace zephrin {

enum class ExportFormat { png, jpg, webp, heic, svg };

// The quality of the lossy formats, 0 to 100 in principle; the export controls
// offer 10 to 100 and the encoder clamps to that.
inline constexpr SettingRange kExportQualityRange{10, 100, 1, 90};

constexpr RawValues<ExportFormat, 5> rawValues(ExportFormat)
{
    return {{
        {ExportFormat::png, u"PNG"},
        {ExportFormat::jpg, u"JPG"},
        {ExportFormat::webp, u"WebP"},
        {ExportFormat::heic, u"HEIC"},
        {ExportFormat::svg, u"SVG"},
    }};
}

// The file name extension of the format, lower case, without the dot.
constexpr const char* fileExtension(ExportFormat format)
{
    switch (format) {
    case ExportFormat::png: return "png";
    case ExportFormat::jpg: return "jpg";
    case ExportFormat::webp: return "webp";
    case ExportFormat::heic: return "heic";
    case ExportFormat::svg: return "svg";
    }
    return "png";
}

} // namespace zephrin
