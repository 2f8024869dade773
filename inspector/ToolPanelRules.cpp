#include "inspector/ToolPanelRules.h"

#include "engine/types/BackgroundMode.h"
#include "engine/types/ListingPreset.h"
#include "model/editor/EditorEnums.h"

#include <array>
#include <cmath>

namespace zephrin::inspector {

namespace {

bool isApparel(ListingPreset preset)
{
    switch (preset) {
    case ListingPreset::dtfShirt:
    case ListingPreset::dtfPocket:
    case ListingPreset::capFront:
    case ListingPreset::sublimation:
    case ListingPreset::htv: return true;
    default: return false;
    }
}

} // namespace

bool adjustLocked(const QString& target, const QString& backgroundMode)
{
    if (target != QLatin1String("Background"))
        return false;
    const auto mode = fromRaw<BackgroundMode>(backgroundMode);
    return mode == BackgroundMode::transparent || mode == BackgroundMode::color;
}

bool isNeutralAdjust(const QVariantMap& adjust)
{
    for (const char* field : {"exposure", "contrast", "saturation", "warmth"})
        if (adjust.value(QLatin1String(field)).toDouble() != 0)
            return false;
    return true;
}

QStringList listingPresetTitles(bool apparel)
{
    QStringList titles;
    for (ListingPreset preset : allCases<ListingPreset>())
        if (isApparel(preset) == apparel)
            titles.append(rawValue(preset));
    return titles;
}

bool allMet(const QVariantList& items)
{
    for (const QVariant& item : items)
        if (!item.toMap().value(QStringLiteral("ok")).toBool())
            return false;
    return true;
}

QString complianceHeading(const QString& presetTitle, bool met)
{
    return presetTitle + (met ? QStringLiteral(": ready") : QStringLiteral(": needs attention"));
}

bool isAnglePreset(double angle, double preset)
{
    return std::abs(angle - preset) < 0.5;
}

bool PanelRulesQml::adjustLocked(const QString& target, const QString& backgroundMode) const
{
    return inspector::adjustLocked(target, backgroundMode);
}
bool PanelRulesQml::isNeutralAdjust(const QVariantMap& adjust) const { return inspector::isNeutralAdjust(adjust); }
QStringList PanelRulesQml::listingPresetTitles(bool apparel) const { return inspector::listingPresetTitles(apparel); }
bool PanelRulesQml::allMet(const QVariantList& items) const { return inspector::allMet(items); }
QString PanelRulesQml::complianceHeading(const QString& presetTitle, bool met) const
{
    return inspector::complianceHeading(presetTitle, met);
}
bool PanelRulesQml::isAnglePreset(double angle, double preset) const { return inspector::isAnglePreset(angle, preset); }

} // namespace zephrin::inspector
