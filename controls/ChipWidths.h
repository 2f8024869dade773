#pragma once
// How a chip row (ZPChipRow) shares its width among its chips: equal chips
// while every title fits its share; otherwise each chip as wide as its title
// asks with what is left shared out equally; and when even that does not fit,
// each shrunk by the same factor (the title then shrinks, never below the
// caption size, and is truncated).

#include <QList>

namespace zephrin::chips {

// The width of each chip, in order, for titles that ask for `natural` widths
// in a row `width` wide with `spacing` between chips. Never negative.
QList<double> widths(const QList<double>& natural, double width, double spacing);

} // namespace zephrin::chips
