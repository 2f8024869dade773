#include "inspector/ToolPanelRules.h"

#include "engine/types/BackgroundMode.h"
#include "engine/types/ListingPreset.h"
#include "model/editor/EditorEnums.h"

#include <array>
#include <cmath>

namespace zephrin::inspector {

namespace {

struct ToolFace {
    CanvasTool tool;
    const char16_t* symbol;
    const char16_t* title;
};

constexpr std::array kToolFaces{
    ToolFace{CanvasTool::view, u"cursorarrow", u"View"},
    ToolFace{CanvasTool::pan, u"hand.raised", u"Pan"},
    ToolFace{CanvasTool::erase, u"eraser", u"Erase"},
    ToolFace{CanvasTool::restore, u"paintbrush", u"Restore"},
    ToolFace{CanvasTool::select, u"lasso", u"Select"},
    ToolFace{CanvasTool::paint, u"paintbrush.pointed", u"Paint"},
    ToolFace{CanvasTool::gradient, u"circle.lefthalf.striped.horizontal", u"Gradient"},
    ToolFace{CanvasTool::crop, u"crop", u"Crop"},
    ToolFace{CanvasTool::eyedropper, u"eyedropper", u"Pick color"},
};

const ToolFace* faceOf(const QString& tool)
{
    const auto value = fromRaw<CanvasTool>(tool);
    if (!value)
        return nullptr;
    for (const ToolFace& face : kToolFaces)
        if (face.tool == *value)
            return &face;
    return nullptr;
}

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

QString canvasToolSymbol(const QString& tool)
{
    const ToolFace* face = faceOf(tool);
    return face ? QString::fromUtf16(face->symbol) : QString();
}

QString canvasToolTitle(const QString& tool)
{
    const ToolFace* face = faceOf(tool);
    return face ? QString::fromUtf16(face->title) : QString();
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
QString PanelRulesQml::canvasToolSymbol(const QString& tool) const { return inspector::canvasToolSymbol(tool); }
QString PanelRulesQml::canvasToolTitle(const QString& tool) const { return inspector::canvasToolTitle(tool); }

} // namespace zephrin::inspector
