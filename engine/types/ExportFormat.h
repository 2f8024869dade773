#pragma once
// The export file types. The raster encoder writes the first four and refuses
// svg, which the vectorizer writes.

#include "engine/types/RawEnum.h"

namespace zephrin {

enum class ExportFormat { png, jpg, webp, heic, svg };

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

} // namespace zephrin
