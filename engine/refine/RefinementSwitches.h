#pragma once
// Where a refinement setting is too small to apply: below these the step is
// skipped rather than applied weakly. Each setting is read clamped to its range.

#include "engine/types/MatteSettings.h"

#include <optional>

namespace zephrin {

// The feather blur's standard deviation in pixels; none for 0.01 or less.
inline std::optional<double> featherSigma(const MatteSettings& settings)
{
    const double feather = MatteSettings::featherRange.clamped(settings.feather);
    if (feather > 0.01)
        return feather;
    return std::nullopt;
}

// Decontamination strength k, 0 to 1; none when switched off or 0.5 % or less.
inline std::optional<double> decontaminationStrength(const MatteSettings& settings)
{
    const double strength = MatteSettings::decontaminateRange.clamped(settings.decontaminate);
    if (settings.decontaminateEnabled && strength > 0.5)
        return strength / 100;
    return std::nullopt;
}

} // namespace zephrin
