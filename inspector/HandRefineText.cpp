#include "inspector/HandRefineText.h"

#include "engine/types/Plural.h"
#include "inspector/PanelValueText.h"
#include "model/editor/EditorEnums.h"

#include <cmath>

namespace zephrin {

QString HandRefineText::toolSymbol(const QString& tool) const
{
    const auto known = fromRaw<CanvasTool>(tool);
    if (!known)
        return {};
    switch (*known) {
    case CanvasTool::view: return QStringLiteral("cursorarrow");
    case CanvasTool::pan: return QStringLiteral("hand.raised");
    case CanvasTool::erase: return QStringLiteral("eraser");
    case CanvasTool::restore: return QStringLiteral("paintbrush");
    case CanvasTool::select: return QStringLiteral("lasso");
    case CanvasTool::paint: return QStringLiteral("paintbrush.pointed");
    case CanvasTool::gradient: return QStringLiteral("circle.lefthalf.striped.horizontal");
    case CanvasTool::crop: return QStringLiteral("crop");
    case CanvasTool::eyedropper: return QStringLiteral("eyedropper");
    }
    return {};
}

QString HandRefineText::toolTitle(const QString& tool) const
{
    // The editor's labels are the display names.
    return fromRaw<CanvasTool>(tool) ? tool : QString();
}

QString HandRefineText::toolBlock(const QString& tool) const
{
    switch (fromRaw<CanvasTool>(tool).value_or(CanvasTool::view)) {
    case CanvasTool::erase:
    case CanvasTool::restore: return QStringLiteral("brush");
    case CanvasTool::select:
    case CanvasTool::eyedropper: return QStringLiteral("selection");
    default: return QStringLiteral("note");
    }
}

QString HandRefineText::toolNote(const QString& tool) const
{
    switch (fromRaw<CanvasTool>(tool).value_or(CanvasTool::view)) {
    case CanvasTool::view: return QStringLiteral("Drag the image out to another app. Double-click or hold Space to pan.");
    case CanvasTool::pan: return QStringLiteral("Drag to move the view. Scroll or pinch to zoom at the pointer.");
    case CanvasTool::paint:
    case CanvasTool::gradient:
    case CanvasTool::crop: return tool + QStringLiteral(" tool is active (see Adjust or Resize).");
    default: return {};
    }
}

QString HandRefineText::brushHint(const QString& tool) const
{
    switch (fromRaw<CanvasTool>(tool).value_or(CanvasTool::view)) {
    case CanvasTool::erase: return QStringLiteral("Paint over areas to remove them from the cutout.");
    case CanvasTool::restore: return QStringLiteral("Paint over areas Auto Subject left out to bring them back.");
    default: return {};
    }
}

QString HandRefineText::sizeText(double value) const
{
    return inspector::truncatedWhole(value) + QStringLiteral(" px");
}

QString HandRefineText::hardnessText(double value) const
{
    return inspector::truncatedWhole(value * 100) + u'%';
}

QString HandRefineText::toleranceText(double value) const
{
    return inspector::truncatedWhole(value);
}

QString HandRefineText::colorsHeading(bool hasSelection) const
{
    return hasSelection ? QStringLiteral("Colors in selection") : QStringLiteral("Colors in image");
}

QString HandRefineText::shareText(double share) const
{
    // printf's "%.0f": halves go to the even neighbour, as the design's format does.
    return QString::asprintf("%.0f%%", std::isfinite(share) ? share * 100 : 0.0);
}

QString HandRefineText::pickedCountText(int count) const
{
    if (count <= 0)
        return QStringLiteral("No colors picked yet");
    return QStringLiteral("Will act on %1:").arg(plural::count(count, u"color"));
}

QString HandRefineText::removeTitle(int count) const
{
    return count >= 2 ? QStringLiteral("Remove %1 colors").arg(count) : QStringLiteral("Remove color");
}

} // namespace zephrin
