#include "controls/ControlsHelpers.h"

#include "controls/ChipWidths.h"
#include "controls/IconTable.h"
#include "controls/SliderMath.h"
#include "controls/ValueText.h"

#include <cmath>

namespace zephrin {

double ValueTextQml::snapped(double value, double step) const { return valuetext::snapped(value, step); }
QString ValueTextQml::number(double value, int decimals) const { return valuetext::number(value, decimals); }
QString ValueTextQml::rounded(double value) const { return valuetext::rounded(value); }
QString ValueTextQml::truncated(double value) const { return valuetext::truncated(value); }
QString ValueTextQml::percent(double value) const { return valuetext::percent(value); }
QString ValueTextQml::pixels(double value) const { return valuetext::pixels(value); }
QString ValueTextQml::signedEV(double value) const { return valuetext::signedEV(value); }
QString ValueTextQml::offOr(double value, const QString& text) const { return valuetext::offOr(value, text); }

QString ValueTextQml::dimensions(double width, double height) const
{
    return valuetext::dimensions(std::llround(width), std::llround(height));
}

QString ValueTextQml::fileSize(double bytes) const
{
    return valuetext::fileSize(std::llround(bytes));
}

QString ValueTextQml::wholeWith(double value, double step, const QString& suffix) const
{
    return valuetext::wholeWith(value, step, suffix);
}
QString ValueTextQml::signedWhole(double value, double step, const QString& suffix) const
{
    return valuetext::signedWhole(value, step, suffix);
}
QString ValueTextQml::offBelowHalf(double value, const QString& text) const
{
    return valuetext::offBelowHalf(value, text);
}
QString ValueTextQml::truncatedDimensions(double width, double height) const
{
    return valuetext::truncatedDimensions(width, height);
}

QList<double> ChipWidthsQml::widths(const QList<double>& natural, double width, double spacing) const
{
    return chips::widths(natural, width, spacing);
}

double SliderMathQml::valueAt(double x, double width, double lower, double upper, double step) const
{
    return slider::valueAt(x, width, lower, upper, step);
}

double SliderMathQml::stepped(double value, int steps, double lower, double upper, double step) const
{
    return slider::stepped(value, steps, lower, upper, step);
}

double SliderMathQml::fillWidth(double value, double width, double lower, double upper) const
{
    return slider::fillWidth(value, width, lower, upper);
}

double SliderMathQml::thumbOffset(double value, double width, double lower, double upper) const
{
    return slider::thumbOffset(value, width, lower, upper);
}

QString IconsQml::family() const { return icons::fontFamily(); }
QString IconsQml::glyph(const QString& symbol) const { return icons::glyph(symbol); }

} // namespace zephrin
