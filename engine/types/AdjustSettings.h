#pragma once
// One set of colour adjustments; 0 everywhere means no change. The compositor
// defines what each amount does.

namespace zephrin {

struct AdjustSettings {
    double exposure = 0;
    double contrast = 0;
    double saturation = 0;
    double warmth = 0;

    friend bool operator==(const AdjustSettings&, const AdjustSettings&) = default;
};

} // namespace zephrin
