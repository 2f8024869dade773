#pragma once
// One set of colour adjustments; 0 everywhere means no change. The compositor
// defines what each amount does.

#include "engine/types/SettingRange.h"

namespace zephrin {

struct AdjustSettings {
    static constexpr SettingRange exposureRange{-2, 2, 0.05, 0};      // stops
    static constexpr SettingRange contrastRange{-50, 50, 1, 0};
    static constexpr SettingRange saturationRange{-100, 100, 1, 0};
    static constexpr SettingRange warmthRange{-100, 100, 1, 0};

    double exposure = exposureRange.defaultValue;
    double contrast = contrastRange.defaultValue;
    double saturation = saturationRange.defaultValue;
    double warmth = warmthRange.defaultValue;

    // Every number within its range (a NaN at its default).
    constexpr AdjustSettings clamped() const
    {
        return {exposureRange.clamped(exposure), contrastRange.clamped(contrast),
                saturationRange.clamped(saturation), warmthRange.clamped(warmth)};
    }

    friend bool operator==(const AdjustSettings&, const AdjustSettings&) = default;
};

} // namespace zephrin
