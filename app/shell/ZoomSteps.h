#pragma once
// The zoom steps that the View menu and the toolbar walk through. Any zoom in
// between (a pinch) moves to the nearest step in the chosen direction.

#include <array>
#include <optional>

namespace zephrin::zoomsteps {

inline constexpr std::array<double, 8> kLevels{0.25, 0.5, 0.75, 1.0, 1.5, 2.0, 3.0, 4.0};
inline constexpr double kTolerance = 0.0001;

// The first step above `zoom` (beyond the tolerance); none at or above 4.
std::optional<double> stepUp(double zoom);
// The first step below `zoom` (beyond the tolerance); none at or below 0.25.
std::optional<double> stepDown(double zoom);

} // namespace zephrin::zoomsteps
