// EditorState: the sticker sheet. The designs, the sheet settings and the
// copies pinned by hand live here; every change lays the sheet out again in
// the sheet slot (120 ms debounce, the newest request wins) through the sheet
// engine, whose render the canvas shows and the exports hand to the file
// exporter. The sheet belongs to the editor, not the document: import and
// clear leave it alone.
//
// A render is exportable only while it is the layout of the sheet as it
// stands: a pending or failed layout leaves the old render on screen but
// withholds it from export, so the print image and its cut file always come
// from one and the same layout. A layout that places no sticker is not
// exported either: its files would be empty, and the panel says so.

#include "model/editor/EditorState.h"

#include "engine/pixel/Crop.h"
#include "model/editor/EditorStateWork.h"
#include "model/editor/SheetPinRules.h"
#include "model/engines/EditorEngines.h"
#include "model/qml/QmlValues.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace zephrin {

namespace {

// Why a drop was refused, in the sheet's words.
const QString kTooClose = QStringLiteral("That spot is too close to another sticker — try a little further away.");
const QString kOnAnother = QStringLiteral("That spot is on another sticker — drop it where the sheet is free.");
const QString kOffThePaper = QStringLiteral("That spot is off the paper — drop the sticker on the sheet.");
const QString kStillLayingOut = QStringLiteral("The sheet is still being laid out — try again in a moment.");
const QString kLayoutFailed = QStringLiteral("Stickers can't be moved while the sheet can't be laid out.");
const QString kNotOnTheSheet = QStringLiteral("That sticker is no longer on the sheet.");

const QString kNothingPlaced =
    QStringLiteral("No sticker fits on the sheet, so there is nothing to export — reduce size or count.");

// The image trimmed to its visible pixels; whole when those are under 2 × 2.
Image trimmedToContent(const EditorEngines& engines, const Image& image)
{
    const auto bounds = engines.alphaBounds(image);
    if (!bounds)
        return image;
    const QRect whole = bounds->toAlignedRect();
    if (whole.width() < 2 || whole.height() < 2)
        return image;
    const Image inside = cropped(image, cv::Rect(whole.x(), whole.y(), whole.width(), whole.height()));
    if (inside.empty())
        return image;
    // A copy of its own, so the design does not keep the whole result alive.
    return Image(inside.pixels.clone());
}

} // namespace

// ---- Properties whose writes lay the sheet out -------------------------------

void EditorState::setSheetItems(std::vector<StickerItem> value)
{
    // A refused drop was about the arrangement that just went.
    if (assign(m_sheetItems, std::move(value), &EditorState::sheetItemsChanged))
        setSheetNotice({});
    layoutSheet();
}

void EditorState::setSheetSettings(const SheetSettings& value)
{
    // Pins keep their place in the printable area, so another paper or
    // region of the same usable size keeps the arrangement.
    const QPointF moved = value.printableArea().topLeft() - m_sheetSettings.printableArea().topLeft();
    if (!assign(m_sheetSettings, value, &EditorState::sheetSettingsChanged))
        return;
    if (!moved.isNull() && !m_sheetPins.isEmpty())
        assign(m_sheetPins, sheetpins::shiftedPins(m_sheetPins, moved), &EditorState::sheetPinsChanged);
    setSheetNotice({});
    layoutSheet();
}

void EditorState::setSheetPins(SheetPins value)
{
    assign(m_sheetPins, std::move(value), &EditorState::sheetPinsChanged);
    layoutSheet();
}

void EditorState::setSheetLayoutPending(bool value)
{
    assign(m_sheetLayoutPending, value, &EditorState::sheetLayoutPendingChanged);
}

void EditorState::publishSheetExportable()
{
    const bool current = m_sheetRender.has_value() && !m_sheetLayoutPending && m_sheetError.isEmpty();
    const bool placesNone = current && m_sheetRender->layout.placements.empty();
    assign(m_sheetExportable, current && !placesNone, &EditorState::sheetExportableChanged);
    assign(m_sheetExportRefusal, placesNone ? kNothingPlaced : QString(), &EditorState::sheetExportRefusalChanged);
}

// ---- Layout ------------------------------------------------------------------

void EditorState::layoutSheet()
{
    // Cancelling ends the replaced request's busy entry, also when no new
    // request follows.
    cancelTask(m_sheetTask);
    if (m_sheetItems.empty()) {
        // An empty sheet has nothing left to fail.
        setSheetRender(std::nullopt);
        setSheetError({});
        setSheetLayoutPending(false);
        return;
    }
    const TaskSlot::Ticket ticket = beginTask(m_sheetTask, QStringLiteral("Laying out sheet…"));
    setSheetLayoutPending(true);
    runAfterWait(
        m_sheetTask, ticket, false,
        [engines = m_engines, items = m_sheetItems, settings = m_sheetSettings, pins = m_sheetPins] {
            return engines->renderSheet(items, settings, pins);
        },
        [this](const Outcome<SheetRender>& rendered) {
            if (rendered.ok()) {
                setSheetRender(*rendered.value);
                setSheetError({});
                setSheetRenderStamp(m_sheetRenderStamp + 1);
            } else {
                setSheetError(rendered.error);
            }
            setSheetLayoutPending(false);
        });
}

// ---- Designs -------------------------------------------------------------------

void EditorState::addToStickerSheet()
{
    const std::optional<ImageBox>& result = m_composite ? m_composite : m_cutout;
    if (!result)
        return;
    QString name = m_document ? QFileInfo(m_document->name).completeBaseName() : QString();
    if (name.isEmpty())
        name = QStringLiteral("Sticker");
    StickerItem item{QUuid::createUuid(), name, ImageBox(trimmedToContent(*m_engines, result->image())),
                     m_defaultStickerWidth, 1};

    std::vector<StickerItem> items = m_sheetItems;
    items.push_back(std::move(item));
    setSheetItems(std::move(items));
    if (m_tool != EditorTool::sheet)
        setTool(EditorTool::sheet);
}

void EditorState::removeSheetItem(const QUuid& id)
{
    // Pin keys begin with the design's upper-case id and "#".
    const QString prefix = uuidString(id) + u'#';
    SheetPins pins = m_sheetPins;
    pins.removeIf([&](const auto& entry) { return entry.key().startsWith(prefix); });
    setSheetPins(std::move(pins));

    std::vector<StickerItem> items = m_sheetItems;
    std::erase_if(items, [&](const StickerItem& item) { return item.id == id; });
    setSheetItems(std::move(items));
}

void EditorState::removeSheetItem(const QString& id)
{
    const QUuid uuid = QUuid::fromString(id);
    if (!uuid.isNull())
        removeSheetItem(uuid);
}

void EditorState::clearStickerSheet()
{
    setSheetItems({});
    setSheetPins({});
    setSheetNotice({});
    setSheetRender(std::nullopt);
}

bool EditorState::setSheetItemField(const QString& id, const QString& field, const QVariant& value)
{
    const QUuid uuid = QUuid::fromString(id);
    std::vector<StickerItem> items = m_sheetItems;
    const auto found = std::find_if(items.begin(), items.end(), [&](const StickerItem& i) { return i.id == uuid; });
    const auto number = qml::number(value);
    if (uuid.isNull() || found == items.end() || !number || !std::isfinite(*number))
        return false;
    if (field == QLatin1String("widthInches"))
        found->widthInches = *number;
    else if (field == QLatin1String("count"))
        found->count = std::int64_t(std::llround(std::clamp(*number, -1e9, 1e9)));
    else
        return false;
    setSheetItems(std::move(items));
    return true;
}

// ---- Pins ----------------------------------------------------------------------

bool EditorState::refuseStickerPin(const QString& reason)
{
    setSheetNotice(reason);
    emit stickerPinRefused();
    return false;
}

bool EditorState::moveStickerPin(const QString& key, QPointF corner)
{
    // The render on screen is not the sheet as it stands while a layout is
    // pending or after one failed: its copies may belong to a design just
    // removed or resized. Pins go on the layout an export would take.
    if (m_sheetLayoutPending)
        return refuseStickerPin(kStillLayingOut);
    if (!m_sheetError.isEmpty())
        return refuseStickerPin(kLayoutFailed);
    if (!m_sheetRender)
        return refuseStickerPin(kNotOnTheSheet);
    const SheetLayout& layout = m_sheetRender->layout;
    const auto moved = std::find_if(layout.placements.begin(), layout.placements.end(),
                                    [&](const SheetPlacement& p) { return p.pinKey() == key; });
    if (moved == layout.placements.end())
        return refuseStickerPin(kNotOnTheSheet);
    const QSizeF size = moved->rect.size();
    if (!sheetpins::acceptableDrop(corner, size, paperInches(m_sheetSettings.paper)))
        return refuseStickerPin(kOffThePaper);

    const QPointF clamped = sheetpins::clampedCorner(corner, size, m_sheetSettings.printableArea());
    const QRectF target(clamped, size);
    bool tooClose = false;
    for (const SheetPlacement& other : layout.placements) {
        if (&other == &*moved)
            continue;
        if (sheetpins::overlapping(target, other.rect))
            return refuseStickerPin(kOnAnother);
        tooClose = tooClose || !sheetpins::farEnoughApart(target, other.rect, m_sheetSettings.spacingInches);
    }
    if (tooClose)
        return refuseStickerPin(kTooClose);
    SheetPins pins = sheetpins::frozenPins(layout, m_sheetPins, key, clamped);
    setSheetNotice({});
    setSheetPins(std::move(pins));
    return true;
}

// ---- Exports -------------------------------------------------------------------

void EditorState::exportStickerSheetPNG()
{
    if (!m_sheetExportable)
        return;
    // Named for the sheet alone: the image's own export keeps its name.
    setExportFile(ExportFile{m_sheetRender->printPNG, ExportFormat::png, QStringLiteral("sticker-sheet"),
                             m_sheetRenderStamp});
    setShowFileExporter(true);
}

void EditorState::exportStickerSheetCutSVG()
{
    if (!m_sheetExportable)
        return;
    setExportFile(ExportFile{QByteArray::fromStdString(m_sheetRender->cutSVG), ExportFormat::svg,
                             QStringLiteral("sticker-sheet-cut"), m_sheetRenderStamp});
    setShowFileExporter(true);
}

bool EditorState::sheetHasUnsavedWork() const
{
    return !m_sheetItems.empty() && (m_sheetLayoutPending || m_sheetSavedStamp != m_sheetRenderStamp);
}

// ---- QML faces -----------------------------------------------------------------

QImage EditorState::sheetPreview() const
{
    return m_sheetRender ? toQImage(m_sheetRender->preview.image()) : QImage();
}

QSizeF EditorState::sheetPreviewSize() const
{
    if (!m_sheetRender)
        return {0, 0};
    const Image& preview = m_sheetRender->preview.image();
    return QSizeF(preview.width(), preview.height());
}

QVariantMap EditorState::qmlSheetSettings() const
{
    const SheetSettings& s = m_sheetSettings;
    return {{QStringLiteral("paper"), rawValue(s.paper)},
            {QStringLiteral("region"), rawValue(s.region)},
            {QStringLiteral("dpi"), qlonglong(s.dpi)},
            {QStringLiteral("spacingInches"), s.spacingInches},
            {QStringLiteral("borderInches"), s.borderInches},
            {QStringLiteral("bleedInches"), s.bleedInches},
            {QStringLiteral("borderColor"), qml::color(s.borderColor)},
            {QStringLiteral("showCutLines"), s.showCutLines}};
}

bool EditorState::setSheetSetting(const QString& field, const QVariant& value)
{
    SheetSettings s = m_sheetSettings;
    const auto length = [&](double& member, const SettingRange& range) {
        const auto number = qml::number(value);
        if (!number || !std::isfinite(*number))
            return false;
        member = range.clamped(*number);
        return true;
    };
    bool usable = false;
    if (field == QLatin1String("paper")) {
        const auto paper = qml::enumValue<PaperSize>(value);
        usable = paper.has_value();
        s.paper = paper.value_or(s.paper);
    } else if (field == QLatin1String("region")) {
        const auto region = qml::enumValue<PrintRegion>(value);
        usable = region.has_value();
        s.region = region.value_or(s.region);
    } else if (field == QLatin1String("spacingInches")) {
        usable = length(s.spacingInches, SheetSettings::spacingRange);
    } else if (field == QLatin1String("borderInches")) {
        usable = length(s.borderInches, SheetSettings::borderRange);
    } else if (field == QLatin1String("bleedInches")) {
        usable = length(s.bleedInches, SheetSettings::bleedRange);
    } else if (field == QLatin1String("borderColor")) {
        const auto color = qml::rgbaColor(value);
        usable = color.has_value();
        // A colour read from QML and written back unchanged stays as it was.
        if (color && !qml::sameInQml(*color, s.borderColor))
            s.borderColor = *color;
    } else if (field == QLatin1String("showCutLines")) {
        const auto on = qml::boolean(value);
        usable = on.has_value();
        s.showCutLines = on.value_or(s.showCutLines);
    }
    if (usable)
        setSheetSettings(s);
    return usable;
}

QVariantMap EditorState::qmlSheetPins() const
{
    QVariantMap map;
    for (auto it = m_sheetPins.begin(); it != m_sheetPins.end(); ++it)
        map.insert(it.key(), it.value());
    return map;
}

void EditorState::setQmlSheetPins(const QVariantMap& value)
{
    SheetPins pins;
    for (auto it = value.begin(); it != value.end(); ++it) {
        const auto point = qml::point(it.value());
        if (!point)
            return;
        pins.insert(it.key(), *point);
    }
    setSheetPins(std::move(pins));
}

QVariantMap EditorState::qmlSheetLayout() const
{
    if (!m_sheetRender)
        return {};
    const SheetLayout& layout = m_sheetRender->layout;
    QVariantList placements;
    for (const SheetPlacement& p : layout.placements)
        placements.append(QVariantMap{{QStringLiteral("key"), p.pinKey()},
                                      {QStringLiteral("itemID"), uuidString(p.itemID)},
                                      {QStringLiteral("instance"), qlonglong(p.instance)},
                                      {QStringLiteral("x"), p.rect.x()},
                                      {QStringLiteral("y"), p.rect.y()},
                                      {QStringLiteral("width"), p.rect.width()},
                                      {QStringLiteral("height"), p.rect.height()}});
    return {{QStringLiteral("placedCount"), qlonglong(layout.placedCount)},
            {QStringLiteral("requestedCount"), qlonglong(layout.requestedCount)},
            {QStringLiteral("placements"), placements}};
}

} // namespace zephrin
