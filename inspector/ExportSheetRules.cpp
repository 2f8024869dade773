#include "inspector/ExportSheetRules.h"

#include "engine/codec/ExportedSize.h"
#include "engine/types/ExportFormat.h"
#include "engine/types/Plural.h"
#include "inspector/PanelValueText.h"
#include "model/editor/ExportFile.h"
#include "model/editor/ListingCompliance.h"

#include <algorithm>

namespace zephrin {

namespace {

std::optional<ExportFormat> formatOf(const QString& label)
{
    return fromRaw<ExportFormat>(label);
}

} // namespace

bool ExportSheetRules::isVector(const QString& format) const
{
    return formatOf(format) == ExportFormat::svg;
}

bool ExportSheetRules::showsWebPNote(const QString& format) const
{
    return formatOf(format) == ExportFormat::webp;
}

bool ExportSheetRules::qualityEnabled(const QString& format) const
{
    const auto known = formatOf(format);
    return known && hasQuality(*known);
}

bool ExportSheetRules::transparencyEnabled(const QString& format, bool resultOpaque) const
{
    return formatOf(format) != ExportFormat::jpg && !resultOpaque;
}

QString ExportSheetRules::exportTitle(const QString& format) const
{
    return isVector(format) ? QStringLiteral("Export SVG") : QStringLiteral("Export Image");
}

QString ExportSheetRules::colorsTitle(int colors) const
{
    return colors == 1 ? QStringLiteral("Silhouette") : QStringLiteral("%1 colors").arg(colors);
}

QString ExportSheetRules::sizeTitle(int longEdge) const
{
    return QStringLiteral("%1 px").arg(longEdge);
}

QString ExportSheetRules::detailText(double detail) const
{
    if (detail < 0.34)
        return QStringLiteral("Smooth");
    if (detail < 0.67)
        return QStringLiteral("Balanced");
    return QStringLiteral("Precise");
}

QString ExportSheetRules::qualityText(double quality) const
{
    return inspector::truncatedWhole(quality) + u'%';
}

QVariantMap ExportSheetRules::sizeNote(QSize written, int longEdge, const QString& format, const QVariant& preset) const
{
    const std::optional<ExportFormat> known = formatOf(format);
    if (!known || written.isEmpty())
        return {{QStringLiteral("text"), QString()}, {QStringLiteral("short"), false}};
    const bool vector = known == ExportFormat::svg;
    const int side = exportedLongSide(written, longEdge, *known);
    // A picture smaller than the chosen size is written at its own size.
    const bool notEnlarged = !vector && side < longEdge;
    const QString title = preset.toString();
    const std::optional<ListingPreset> listing = fromRaw<ListingPreset>(title);
    const std::optional<int> least = listing ? minimumLongSide(*listing) : std::nullopt;
    const bool tooSmall = least && side < *least;

    // The drawing's other side follows its outline, which only the trace finds.
    QString text = vector ? QStringLiteral("Writes the drawing %1 px on its longer side").arg(side)
                          : QStringLiteral("Writes %1 × %2 px").arg(written.width()).arg(written.height());
    if (tooSmall)
        text += QStringLiteral(", under the %1 px “%2” asks for.").arg(*least).arg(title);
    else
        text += u'.';
    if (notEnlarged)
        text += QStringLiteral(" The picture is smaller than %1 px, and an export never enlarges it.").arg(longEdge);
    return {{QStringLiteral("text"), text}, {QStringLiteral("short"), tooSmall}};
}

QVariantMap ExportSheetRules::requirementSummary(const QVariantList& checks, const QString& presetTitle) const
{
    int failing = 0;
    for (const QVariant& check : checks)
        if (!check.toMap().value(QStringLiteral("ok")).toBool())
            ++failing;
    if (failing == 0)
        return {{QStringLiteral("met"), true},
                {QStringLiteral("symbol"), QStringLiteral("checkmark.seal.fill")},
                {QStringLiteral("text"), QStringLiteral("Meets ") + presetTitle + QStringLiteral(" requirements")}};
    return {{QStringLiteral("met"), false},
            {QStringLiteral("symbol"), QStringLiteral("exclamationmark.triangle.fill")},
            {QStringLiteral("text"), QStringLiteral("%1 not met (see Resize)")
                                         .arg(plural::count(failing, presetTitle + QStringLiteral(" requirement")))}};
}

} // namespace zephrin
