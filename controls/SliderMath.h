#pragma once
// The arithmetic of ZPSlider, kept out of QML so it can be tested: where a
// pointer position lands on the step grid, and where fill and thumb are drawn.
// `lower` < `upper` and `step` > 0 are the caller's promise.

namespace zephrin::slider {

inline constexpr double kThumbSize = 16;

// The value under a pointer at `x` on a track `width` wide: the position is
// taken into 0…1 of the track, mapped onto the range, rounded to the nearest
// multiple of `step` (halves away from zero; the grid is anchored at 0, not at
// `lower`), and then kept inside the range, so a grid point past either end
// is never written. A track of no width gives the lower end.
double valueAt(double x, double width, double lower, double upper, double step);

// The value `steps` grid steps from the grid point nearest `value` (an arrow
// key's move), kept inside the range.
double stepped(double value, int steps, double lower, double upper, double step);

// Width of the filled part: the value's share of the track, never less than 0
// nor more than the track.
double fillWidth(double value, double width, double lower, double upper);

// Left edge of the 16-wide thumb: centred on the value's position, except near
// the ends, where the whole thumb stays on the track.
double thumbOffset(double value, double width, double lower, double upper);

} // namespace zephrin::slider
