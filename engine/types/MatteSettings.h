#pragma once
// The refinement choices that turn a raw matte into the cutout.

#include "engine/types/EdgeRefineMode.h"
#include "engine/types/SettingRange.h"

namespace zephrin {

// Every holder fills all five fields. The member values are the ones the editor
// starts from and the automation always uses, so that no field is ever left
// uninitialised.
struct MatteSettings {
    static constexpr SettingRange featherRange{0, 20, 0.1, 0.6};
    static constexpr SettingRange decontaminateRange{0, 100, 1, 30};

    bool fillHoles = false;                       // fill enclosed holes of the matte
    EdgeRefineMode edgeMode = EdgeRefineMode::smooth;
    double feather = featherRange.defaultValue;   // edge feather, pixels
    bool decontaminateEnabled = true;             // un-blend background colour from edge pixels
    double decontaminate = decontaminateRange.defaultValue;  // strength of that, percent

    // Every number within its range (a NaN at its default).
    constexpr MatteSettings clamped() const
    {
        MatteSettings s = *this;
        s.feather = featherRange.clamped(feather);
        s.decontaminate = decontaminateRange.clamped(decontaminate);
        return s;
    }

    friend bool operator==(const MatteSettings&, const MatteSettings&) = default;
};

} // namespace zephrin
