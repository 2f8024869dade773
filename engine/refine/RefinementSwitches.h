#pragma once
// Where a refinement setting is too small to apply: below these the step is
// skipped rather than applied weakly.

#include "engine/types/MatteSettings.h"

#include <optional>

namespace zephrin {

// The feather blur's standard deviation in pixels; none for 0.01 or less.
inline std::optional<double> featherSigma(const MatteSettings& settings)
{
    if (settings.feather > 0.01)
        return settings.feather;
    return std::nullopt;
}

// Decontamination strength k, 0 to 1; none when switched off or 0.5 % or less.
inline std::optional<double> decontaminationStrength(const MatteSettings& settings)
{
    if (settings.decontaminateEnabled && settings.decontaminate > 0.5)
        return settings.decontaminate / 100;
    return std::nullopt;
}

} // namespace zephrin
