#include "pickers/SheetPanelTexts.h"

#include "controls/ValueText.h"
#include "engine/types/Plural.h"
#include "model/qml/QmlValues.h"
#include "output/sheet/PaperSize.h"
#include "output/sheet/PrintRegion.h"
#include "output/sheet/SheetSettings.h"

#include <cmath>

namespace zephrin::sheetpanel {

QString packingStatus(std::int64_t placed, std::int64_t requested)
{
    const std::int64_t missing = requested - placed;
    if (missing != 0)
        return QStringLiteral("%1 placed, %2 didn't fit — reduce size or count").arg(placed).arg(missing);
    return plural::count(placed, u"sticker") + QStringLiteral(" placed");
}

bool allPlaced(std::int64_t placed, std::int64_t requested)
{
    return requested == placed;
}

QString borderText(double inches)
{
    return inches < 0.005 ? QStringLiteral("None") : valuetext::number(inches, 2) + QStringLiteral(" in");
}

QString bleedText(double inches)
{
    return inches < 0.0025 ? QStringLiteral("None") : valuetext::number(inches, 3) + QStringLiteral(" in");
}

QString spacingText(double inches)
{
    return valuetext::number(inches, 2) + QStringLiteral(" in");
}

QString regionNote(const QString& region, const QString& paper)
{
    const auto known = fromRaw<PrintRegion>(region);
    const auto sheet = fromRaw<PaperSize>(paper);
    if (!known || !sheet)
        return {};
    switch (*known) {
    case PrintRegion::cricut: {
        SheetSettings settings;
        settings.paper = *sheet;
        settings.region = *known;
        const QSizeF area = settings.printableArea().size();
        // At most two decimals, none when whole: "6.75", "3.5", "7.77".
        const auto inches = [](double value) { return QString::number(std::round(value * 100) / 100, 'g', 6); };
        return QStringLiteral("%1 × %2 in usable area, centered (Explore / Maker).")
            .arg(inches(area.width()), inches(area.height()));
    }
    case PrintRegion::silhouette:
        return QStringLiteral("Full sheet with ¼ in margin; add registration marks in Silhouette Studio.");
    case PrintRegion::margins:
        return QStringLiteral("Full sheet with ¼ in margin, no cutter constraints.");
    }
    return {};
}

QString exportNote(std::int64_t dpi)
{
    return QStringLiteral("%1 DPI, transparent outside stickers. Upload to Cricut Design Space as a Print then Cut "
                          "image, or print it directly.")
        .arg(dpi);
}

QString widthText(double inches, const QLocale& locale)
{
    if (!std::isfinite(inches))
        return locale.toString(inches);
    const double rounded = std::round(inches * 100) / 100 + 0.0;
    return locale.toString(rounded, 'f', QLocale::FloatingPointShortest);
}

std::optional<double> parseWidth(const QString& text, const QLocale& locale)
{
    bool ok = false;
    const double value = locale.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

Enabling enabling(bool hasCutout, bool exportable, bool isProcessing)
{
    return {hasCutout, exportable && !isProcessing, exportable};
}

} // namespace zephrin::sheetpanel

namespace zephrin {

QStringList SheetPanelTextsQml::paperOptions() const { return qml::labels<PaperSize>(); }
QStringList SheetPanelTextsQml::regionOptions() const { return qml::labels<PrintRegion>(); }

QString SheetPanelTextsQml::packingStatus(double placed, double requested) const
{
    return sheetpanel::packingStatus(std::int64_t(placed), std::int64_t(requested));
}

bool SheetPanelTextsQml::allPlaced(double placed, double requested) const
{
    return sheetpanel::allPlaced(std::int64_t(placed), std::int64_t(requested));
}

QString SheetPanelTextsQml::borderText(double inches) const { return sheetpanel::borderText(inches); }
QString SheetPanelTextsQml::bleedText(double inches) const { return sheetpanel::bleedText(inches); }
QString SheetPanelTextsQml::spacingText(double inches) const { return sheetpanel::spacingText(inches); }
QString SheetPanelTextsQml::regionNote(const QString& region, const QString& paper) const
{
    return sheetpanel::regionNote(region, paper);
}
QString SheetPanelTextsQml::exportNote(double dpi) const { return sheetpanel::exportNote(std::int64_t(dpi)); }
QString SheetPanelTextsQml::widthText(double inches) const { return sheetpanel::widthText(inches, QLocale()); }

QVariant SheetPanelTextsQml::parseWidth(const QString& text) const
{
    const auto width = sheetpanel::parseWidth(text, QLocale());
    return width ? QVariant(*width) : QVariant();
}

bool SheetPanelTextsQml::addEnabled(bool hasCutout) const
{
    return sheetpanel::enabling(hasCutout, false, false).addCutout;
}

bool SheetPanelTextsQml::exportPNGEnabled(bool exportable, bool isProcessing) const
{
    return sheetpanel::enabling(false, exportable, isProcessing).exportPNG;
}

bool SheetPanelTextsQml::exportSVGEnabled(bool exportable) const
{
    return sheetpanel::enabling(false, exportable, false).exportSVG;
}

} // namespace zephrin
