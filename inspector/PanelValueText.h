#pragma once
// Value texts of the inspector's sliders that cut the fraction off rather
// than round it ("40.9" reads 40). Arithmetic noise from the slider's step
// (0.57 × 100 = 56.999…) must not cost a whole unit, so values within a
// billionth below a whole number count as that number.

#include <QString>

namespace zephrin::inspector {

// The value truncated toward zero, as a whole number in decimal; never "-0".
QString truncatedWhole(double value);

} // namespace zephrin::inspector
