#include "pickers/BatchViewRules.h"

#include "engine/types/ExportFormat.h"
#include "engine/types/Plural.h"
#include "output/presets/ListingPresetSettings.h"

#include <algorithm>
#include <cmath>

namespace zephrin::batchview {

const QList<int>& longEdgeChoices()
{
    static const QList<int> choices{1080, 1500, 2000, 2400, 3000, 4000};
    return choices;
}

QList<int> longEdgeOptions(int current)
{
    QList<int> options = longEdgeChoices();
    if (current > 0 && !options.contains(current))
        options.insert(std::lower_bound(options.begin(), options.end(), current), current);
    return options;
}

QString longEdgeLabel(int pixels) { return QStringLiteral("%1 px").arg(pixels); }

int longEdgePixels(const QString& label)
{
    if (!label.endsWith(QStringLiteral(" px")))
        return 0;
    bool number = false;
    const int pixels = label.chopped(3).toInt(&number);
    return number && pixels > 0 ? pixels : 0;
}

QString presetSummary(ListingPreset preset)
{
    const ExportDefaults defaults = exportDefaults(preset);
    QString text = QStringLiteral("Exports %1 at %2 px long edge.").arg(rawValue(defaults.format)).arg(defaults.longEdge);
    // A picture is written at its own size when smaller; a drawing's page
    // is drawn at the long edge either way.
    if (defaults.format != ExportFormat::svg)
        text += QStringLiteral(" A smaller picture is not enlarged.");
    return text;
}

QString countText(int done, int total) { return QStringLiteral("%1/%2").arg(done).arg(total); }

QString progressText(int index, int total) { return QStringLiteral("Cutting image %1 of %2…").arg(index).arg(total); }

QString failureNote(int failed)
{
    return plural::count(failed, u"image") + QStringLiteral(" couldn't be processed. Click a red tile to open it in the editor.");
}

QString exportAllTitle(int done) { return QStringLiteral("Export All (%1)").arg(done); }

QString folderMessage(int done)
{
    return QStringLiteral("Choose a folder for the %1.").arg(plural::count(done, u"cutout"));
}

int gridColumns(double width)
{
    const double inside = width - 2 * kGap;
    return std::max(1, int(std::floor((inside + kGap) / (kTileMin + kGap))));
}

double tileWidth(double width)
{
    const int columns = gridColumns(width);
    const double inside = width - 2 * kGap - kGap * (columns - 1);
    return std::clamp(inside / columns, 0.0, kTileMax);
}

} // namespace zephrin::batchview

namespace zephrin {

QStringList BatchRulesQml::presetOptions() const
{
    QStringList options;
    for (ListingPreset preset : allCases<ListingPreset>())
        options << rawValue(preset);
    return options;
}

QStringList BatchRulesQml::formatOptions() const
{
    QStringList options;
    for (ExportFormat format : allCases<ExportFormat>())
        options << rawValue(format);
    return options;
}

QStringList BatchRulesQml::longEdgeOptions(int pixels) const
{
    QStringList options;
    for (int option : batchview::longEdgeOptions(pixels))
        options << batchview::longEdgeLabel(option);
    return options;
}

QString BatchRulesQml::presetSummary(const QString& preset) const
{
    const auto value = fromRaw<ListingPreset>(preset);
    return value ? batchview::presetSummary(*value) : QString();
}

} // namespace zephrin
