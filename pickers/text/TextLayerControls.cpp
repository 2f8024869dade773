#include "pickers/text/TextLayerControls.h"

#include "controls/ValueText.h"
#include "engine/text/TextLayer.h"

#include <cmath>

namespace zephrin::textcontrols {

namespace {

SettingRange scaled(SettingRange range, double scale)
{
    return {range.lower * scale, range.upper * scale, range.step * scale, range.defaultValue * scale};
}

QString percentOrOff(double value)
{
    return value < 0.25 ? QStringLiteral("Off") : valuetext::rounded(value) + u'%';
}

QString curveText(double value)
{
    if (std::abs(value) < 0.5)
        return QStringLiteral("Straight");
    if (value > 0)
        return QStringLiteral("Arch ") + valuetext::truncated(value);
    return QStringLiteral("Smile ") + valuetext::truncated(-value);
}

} // namespace

std::optional<Slider> slider(const QString& field)
{
    struct Entry {
        const char16_t* field;
        SettingRange range;
        double scale;
    };
    static const Entry entries[] = {
        {u"size", TextLayer::sizeRange, 100},       {u"outline", TextLayer::outlineRange, 100},
        {u"effectSize", TextLayer::effectSizeRange, 100}, {u"curve", TextLayer::curveRange, 1},
        {u"border", TextLayer::borderRange, 100},   {u"labelFill", TextLayer::labelFillRange, 100},
        {u"shapeW", TextLayer::shapeWRange, 100},   {u"shapeH", TextLayer::shapeHRange, 100},
    };
    for (const Entry& entry : entries) {
        if (field == QStringView(entry.field)) {
            SettingRange shown = scaled(entry.range, entry.scale);
            // 0.005 × 100 is not exactly 0.5: keep the step on a clean grid.
            shown.step = std::round(shown.step * 1000) / 1000;
            return Slider{entry.scale, shown};
        }
    }
    return std::nullopt;
}

QString valueText(const QString& field, double shown)
{
    const auto s = slider(field);
    if (!s)
        return {};
    const double value = valuetext::snapped(shown, s->shown.step);
    if (field == u"size")
        return valuetext::rounded(value) + u'%';
    if (field == u"outline" || field == u"border")
        return percentOrOff(value);
    if (field == u"curve")
        return curveText(value);
    return valuetext::truncated(value) + u'%';
}

QString effectTitle(const QString& effect)
{
    if (effect == u"none")
        return QStringLiteral("No Effect");
    return effect.left(1).toUpper() + effect.mid(1);
}

std::optional<RGBAColor> effectColorFor(const QString& effect, RGBAColor current)
{
    if (effect == u"glow")
        return current.a < 0.9 ? std::optional(RGBAColor{1, 1, 1, 0.9}) : std::nullopt;
    if (effect == u"shadow")
        return RGBAColor{0, 0, 0, 0.6};
    return std::nullopt;
}

} // namespace zephrin::textcontrols
