#pragma once
// The values a numeric setting may take: the range its control offers, the
// step the control moves by, and the value a new setting starts from. Each
// settings type keeps one of these beside every numeric field; the engines
// clamp what they are handed to it before use, and the editor's controls read
// range, step and default from the same place.

#include <algorithm>

namespace zephrin {

struct SettingRange {
    double lower = 0;
    double upper = 0;
    double step = 1;
    double defaultValue = 0;

    // The value brought into [lower, upper]; a NaN gives the default. No
    // snapping to the step: that is the control's business.
    constexpr double clamped(double value) const
    {
        if (value != value)
            return defaultValue;
        return std::clamp(value, lower, upper);
    }

    friend bool operator==(const SettingRange&, const SettingRange&) = default;
};

} // namespace zephrin
