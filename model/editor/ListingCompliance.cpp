#include "model/editor/ListingCompliance.h"

#include "engine/codec/ExportedSize.h"

#include <algorithm>
#include <cmath>

namespace zephrin {

namespace {

// The values several rows share, derived once per list.
struct Derived {
    int outputLongSide = 0;   // the written file's longer side
    bool square = false;
    bool opaqueBackground = false;   // the written file has no transparency
    bool pureWhite = false;
    double fill = 0;
};

Derived derive(const ComplianceInputs& in)
{
    Derived d;
    d.outputLongSide = exportedLongSide(in.composite, in.exportLongEdge, in.exportFormat);
    d.square = std::abs(double(in.composite.width()) / in.composite.height() - 1) < 0.01;
    switch (in.comp.backgroundMode) {
    case BackgroundMode::color:
    case BackgroundMode::original: d.opaqueBackground = true; break;
    case BackgroundMode::image: d.opaqueBackground = in.hasBackgroundImage; break;
    case BackgroundMode::transparent: d.opaqueBackground = false; break;
    }
    // A raster file without alpha is flattened on white whatever the background.
    const bool raster = in.exportFormat != ExportFormat::svg;
    if (raster && (!in.transparentBackground || in.exportFormat == ExportFormat::jpg))
        d.opaqueBackground = true;
    d.pureWhite = in.comp.backgroundMode == BackgroundMode::color && in.comp.backgroundColor == RGBAColor{1, 1, 1, 1};
    d.fill = in.subjectFill.value_or(0);
    return d;
}

// "2400 px"
QString pixels(int count)
{
    return QString::number(count) + QStringLiteral(" px");
}

// "… (now 2400 px)"
QString now(int count)
{
    return QStringLiteral(" (now ") + pixels(count) + u')';
}

bool jpegOrPNG(ExportFormat format)
{
    return format == ExportFormat::jpg || format == ExportFormat::png;
}

class Rows {
public:
    void add(bool ok, QString text) { m_items.push_back({QUuid::createUuid(), ok, std::move(text)}); }
    std::vector<ComplianceItem> take() { return std::move(m_items); }

private:
    std::vector<ComplianceItem> m_items;
};

// The rows of the three garment presets printed with white ink on a shirt.
void garmentRows(Rows& rows, const ComplianceInputs& in, const Derived& d, int target)
{
    rows.add(in.exportFormat == ExportFormat::png, QStringLiteral("PNG with transparency"));
    rows.add(!d.opaqueBackground, QStringLiteral("Transparent background (no white box on the shirt)"));
    rows.add(d.outputLongSide >= target,
             QStringLiteral("300 DPI at print size: ≥ ") + pixels(target) + now(d.outputLongSide));
    rows.add(!in.comp.mirror, QStringLiteral("Not mirrored (mirroring is only for HTV)"));
}

// Unmet, the row says what keeps the product small in its frame: no trimming,
// or the room a shadow or an outline needs, else the padding.
void fillRow(Rows& rows, const CompositeSettings& comp, double fill)
{
    QString text = QString::asprintf("Product fills ≥ 85%% of frame (now %.0f%%", fill * 100);
    if (fill < 0.85) {
        if (!comp.trimToContent)
            text += QStringLiteral("; turn on Trim to subject");
        else if (comp.shadowEnabled && comp.shadowOpacity > 0.5)
            text += QStringLiteral("; turn the shadow down or off");
        else if (comp.outlineEnabled && comp.outlineWidth > 0.5)
            text += QStringLiteral("; turn the outline off");
        else
            text += QStringLiteral("; lower Padding");
    }
    rows.add(fill >= 0.85, text + u')');
}

// Met without a shape crop, an outline or a text or shape layer; otherwise
// the row names what is in the way.
void addedGraphicsRow(Rows& rows, const CompositeSettings& comp)
{
    QStringList found;
    if (comp.shapeCrop != ShapeCrop::none)
        found.append(QStringLiteral("shape crop"));
    if (comp.outlineEnabled && comp.outlineWidth > 0.5)
        found.append(QStringLiteral("outline"));
    if (!comp.texts.isEmpty())
        found.append(QStringLiteral("text layers"));
    QString text = QStringLiteral("No shape crop or added graphics");
    if (!found.isEmpty())
        text += QStringLiteral(" (now ") + found.join(QStringLiteral(", ")) + u')';
    rows.add(found.isEmpty(), text);
}

} // namespace

std::optional<double> subjectFillFraction(QSizeF subjectBounds, QSize composite)
{
    if (composite.isEmpty() || !(subjectBounds.width() > 0))
        return std::nullopt;
    return std::max(subjectBounds.width() / composite.width(), subjectBounds.height() / composite.height());
}

std::optional<int> minimumLongSide(ListingPreset preset)
{
    switch (preset) {
    case ListingPreset::etsy: return 2000;
    case ListingPreset::amazon: return 1000;
    case ListingPreset::shopify: return 2048;
    case ListingPreset::instagram: return 1080;
    case ListingPreset::appIcon: return 1024;
    case ListingPreset::dtfShirt: return 4800;
    case ListingPreset::dtfPocket: return 1200;
    case ListingPreset::capFront: return 900;
    case ListingPreset::sublimation: return 4800;
    case ListingPreset::sticker:
    case ListingPreset::htv: return std::nullopt;
    }
    return std::nullopt;
}

std::vector<ComplianceItem> complianceItems(ListingPreset preset, const ComplianceInputs& in)
{
    if (in.composite.isEmpty())
        return {};
    const Derived d = derive(in);
    const int side = d.outputLongSide;
    const int least = minimumLongSide(preset).value_or(0);
    Rows rows;
    switch (preset) {
    case ListingPreset::etsy:
        rows.add(side >= least, QStringLiteral("Longest side ≥ ") + pixels(least) + now(side));
        rows.add(in.comp.aspect == AspectPreset::fourThree, QStringLiteral("4:3 aspect so thumbnails don't crop"));
        rows.add(jpegOrPNG(in.exportFormat), QStringLiteral("JPEG or PNG format"));
        break;
    case ListingPreset::amazon:
        rows.add(d.pureWhite, QStringLiteral("Pure white background (RGB 255,255,255)"));
        fillRow(rows, in.comp, d.fill);
        rows.add(side >= least, QStringLiteral("Longest side ≥ ") + pixels(least) + QStringLiteral(" for zoom") + now(side));
        rows.add(jpegOrPNG(in.exportFormat), QStringLiteral("JPEG or PNG format"));
        addedGraphicsRow(rows, in.comp);
        break;
    case ListingPreset::shopify:
        rows.add(side >= least, QStringLiteral("≥ ") + pixels(least) + QStringLiteral(" for zoom") + now(side));
        rows.add(d.square, QStringLiteral("Square aspect for a consistent grid"));
        rows.add(in.exportFormat != ExportFormat::svg, QStringLiteral("Raster format (JPEG, PNG, WebP)"));
        break;
    case ListingPreset::instagram:
        rows.add(d.square || in.comp.aspect == AspectPreset::portrait, QStringLiteral("1:1 or 4:5 aspect"));
        rows.add(side >= least, QStringLiteral("≥ ") + pixels(least) + now(side));
        rows.add(jpegOrPNG(in.exportFormat), QStringLiteral("JPEG or PNG format"));
        break;
    case ListingPreset::sticker:
        rows.add(in.exportFormat == ExportFormat::png, QStringLiteral("PNG with transparency"));
        rows.add(!d.opaqueBackground, QStringLiteral("Transparent background"));
        rows.add(d.square, QStringLiteral("Square canvas"));
        rows.add(side <= 618, QStringLiteral("≤ 618 px (iMessage large sticker)"));
        break;
    case ListingPreset::appIcon:
        rows.add(in.exportFormat == ExportFormat::png, QStringLiteral("PNG format"));
        rows.add(d.opaqueBackground, QStringLiteral("No transparency (App Store rejects alpha)"));
        rows.add(d.square, QStringLiteral("Square canvas"));
        // Unmet, it says what the picture has.
        rows.add(side >= least, pixels(least) + QStringLiteral(" master") + (side >= least ? QString() : now(side)));
        break;
    case ListingPreset::dtfShirt:
    case ListingPreset::dtfPocket:
    case ListingPreset::capFront: garmentRows(rows, in, d, least); break;
    case ListingPreset::sublimation:
        rows.add(in.exportFormat == ExportFormat::png, QStringLiteral("PNG with transparency"));
        rows.add(!d.opaqueBackground, QStringLiteral("Transparent background"));
        rows.add(side >= least, QStringLiteral("300 DPI at print size: ≥ ") + pixels(least) + now(side));
        rows.add(in.subjectWhiteFraction < 0.15,
                 QString::asprintf("Little or no white in the design (sublimation can't print white; now %.0f%% white)",
                                   in.subjectWhiteFraction * 100));
        break;
    case ListingPreset::htv:
        rows.add(in.exportFormat == ExportFormat::svg, QStringLiteral("SVG cut file"));
        rows.add(in.comp.mirror, QStringLiteral("Mirrored for iron-on"));
        rows.add(in.svgColors <= 4, QStringLiteral("Few solid colors (one vinyl sheet per color)"));
        break;
    }
    return rows.take();
}

} // namespace zephrin
