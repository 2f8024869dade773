#include "inspector/ExportSheetRules.h"

#include "engine/types/ExportFormat.h"
#include "engine/types/Plural.h"
#include "inspector/PanelValueText.h"
#include "model/editor/ExportFile.h"

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
