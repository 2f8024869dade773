#pragma once
// What each listing preset does: the framing it gives the composite and the
// file it exports. Pure functions of the preset (and, for the composite, of the
// settings it starts from).

#include "engine/types/CompositeSettings.h"
#include "engine/types/ExportFormat.h"
#include "engine/types/ListingPreset.h"

namespace zephrin {

struct ExportDefaults {
    ExportFormat format = ExportFormat::png;
    int longEdge = 0;   // pixels

    friend bool operator==(const ExportDefaults&, const ExportDefaults&) = default;
};

// The export without a preset: where the export sheet and the batch start,
// and what stands in for a stored default that is damaged.
inline constexpr ExportDefaults kPlainExport{ExportFormat::png, 2400};

// `settings` with the preset's framing: trimming on, no shape crop, the
// preset's aspect and padding, and where the preset fixes them its background
// mode and colour, mirroring and sticker outline. Everything else (crop,
// recolouring, adjustments, edge blend, background blur, shadow, corner radius,
// text layers) is kept.
CompositeSettings compositeSettings(ListingPreset preset, const CompositeSettings& settings);

// The export format and long edge of the preset. The print presets export at
// 300 pixels per inch of their print size.
ExportDefaults exportDefaults(ListingPreset preset);

} // namespace zephrin
