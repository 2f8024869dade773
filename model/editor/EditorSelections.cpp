// EditorState: the canvas tools that do not paint. A selection is drawn
// (liveStroke), then pending (pendingSelection) until an edit uses it up, and
// is then kept as the last selection for "Reselect last area".

#include "model/editor/EditorState.h"

#include "engine/composite/CanvasGeometry.h"
#include "engine/edits/SelectionGeometry.h"
#include "model/editor/EditorStateWork.h"
#include "model/engines/EditorEngines.h"
#include "model/qml/QmlValues.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace zephrin {

namespace {

double distance(QPointF a, QPointF b)
{
    return QLineF(a, b).length();
}

// Twice the signed area of the polygon through the points (shoelace).
double doubledArea(const std::vector<QPointF>& points)
{
    double sum = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const QPointF& p = points[i];
        const QPointF& q = points[(i + 1) % points.size()];
        sum += p.x() * q.y() - q.x() * p.y();
    }
    return sum;
}

// The area the closed polygon winds around (the non-zero rule, as edits fill
// it), in square pixels: the spans where the winding is not zero, summed over
// rows an eighth of a pixel apart (fewer on a very tall stroke). Unlike the
// shoelace sum, rounding in the points cannot give a stroke that goes there
// and back an area.
double woundArea(const std::vector<QPointF>& points)
{
    constexpr double kMostRows = 1 << 17;
    const auto [low, high] = std::minmax_element(points.begin(), points.end(),
                                                 [](QPointF a, QPointF b) { return a.y() < b.y(); });
    const double height = high->y() - low->y();
    if (!std::isfinite(height))
        return 0;
    const double rowsPerPixel = std::min(8.0, kMostRows / std::max(height, 1.0));
    const double firstRow = std::ceil(low->y() * rowsPerPixel - 0.5);
    const double lastRow = std::floor(high->y() * rowsPerPixel - 0.5);
    std::vector<std::pair<double, int>> crossings;
    double length = 0;
    for (double row = firstRow; row <= lastRow; ++row) {
        const double y = (row + 0.5) / rowsPerPixel;
        crossings.clear();
        for (std::size_t i = 0; i < points.size(); ++i) {
            const QPointF& p = points[i];
            const QPointF& q = points[(i + 1) % points.size()];
            if ((p.y() <= y) == (q.y() <= y))
                continue;
            const double x = p.x() + (y - p.y()) * (q.x() - p.x()) / (q.y() - p.y());
            crossings.emplace_back(x, q.y() > p.y() ? 1 : -1);
        }
        std::sort(crossings.begin(), crossings.end());
        int winding = 0;
        for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += crossings[i].second;
            if (winding != 0)
                length += crossings[i + 1].first - crossings[i].first;
        }
    }
    return length / rowsPerPixel;
}

// Whether a lasso or outline encloses some area. A stroke that goes there and
// back encloses none, yet rounding leaves its shoelace sum a hair off zero; a
// figure eight encloses area though its two loops' sums cancel. A pixel's
// worth of sum settles it at once (the sum is never more than the area it
// winds round, times the turns); below that, the area wound round decides.
bool pointsEncloseArea(const std::vector<QPointF>& points)
{
    constexpr double kLeastArea = 1.0 / 64;  // square pixels
    if (points.size() < 3)
        return false;
    return std::abs(doubledArea(points)) >= 2 || woundArea(points) >= kLeastArea;
}

// Whether the points make a selection with an inside: a lasso or outline
// enclosing some area, a rectangle or ellipse with width and height. Anything
// less would make "Delete outside" erase the whole cutout, and "Delete
// inside" an undo step that changes nothing.
bool enclosesArea(SelectionKind kind, const std::vector<QPointF>& points)
{
    if (usesPoints(kind))
        return pointsEncloseArea(points);
    if (points.size() < 2)
        return false;
    const QRectF box = boundingRect(kind, points);
    return box.width() > 0 && box.height() > 0;
}

} // namespace

void EditorState::togglePanTool()
{
    if (m_canvasTool != CanvasTool::pan) {
        setPreviousTool(m_canvasTool);
        setCanvasTool(CanvasTool::pan);
    } else {
        // Back to the tool before, unless the panel changed to one without it.
        const bool back = m_previousTool != CanvasTool::pan && offersCanvasTool(m_tool, m_previousTool);
        setCanvasTool(back ? m_previousTool : CanvasTool::view);
    }
}

void EditorState::finishSelection(const Points& points)
{
    if (!enclosesArea(m_selectionKind, points))
        return;
    setPendingKind(m_selectionKind);
    setPendingSelection(points);
    setLiveStroke({});
    setGradientLine(std::nullopt);
    setSelectionPalette({});
}

void EditorState::finishSelection(const QVariantList& points)
{
    if (const auto list = qml::points(points))
        finishSelection(*list);
}

void EditorState::addPolygonPoint(QPointF point)
{
    if (m_selectionKind != SelectionKind::polygon || m_pendingSelection)
        return;
    if (m_liveStroke.size() >= 3 && distance(point, m_liveStroke.front()) < 12) {
        closePolygon();
        return;
    }
    if (!m_liveStroke.empty() && distance(point, m_liveStroke.back()) < 2)
        return;
    Points stroke = m_liveStroke;
    stroke.push_back(point);
    setLiveStroke(std::move(stroke));
}

void EditorState::closePolygon()
{
    if (m_selectionKind != SelectionKind::polygon)
        return;
    Points kept;
    for (const QPointF& p : m_liveStroke)
        if (kept.empty() || distance(p, kept.back()) >= 3)
            kept.push_back(p);
    if (!enclosesArea(SelectionKind::polygon, kept)) {
        setLiveStroke({});
        return;
    }
    finishSelection(kept);
}

std::optional<std::pair<SelectionKind, EditorState::Points>> EditorState::clearPendingSelection()
{
    if (!m_pendingSelection)
        return std::nullopt;
    auto ended = std::make_pair(m_pendingKind, *m_pendingSelection);
    setLastSelection(ended.second);
    setLastSelectionKind(ended.first);
    setPendingSelection(std::nullopt);
    setLiveStroke({});
    setGradientLine(std::nullopt);
    setSelectionPalette({});
    return ended;
}

void EditorState::reselectLastSelection()
{
    if (!m_lastSelection)
        return;
    setPendingKind(m_lastSelectionKind);
    setPendingSelection(m_lastSelection);
    setLiveStroke({});
    setGradientLine(std::nullopt);
    // A palette shown now was read from another area.
    setSelectionPalette({});
}

void EditorState::loadSelectionPalette()
{
    if (!m_document)
        return;
    std::optional<SelectionKind> shape;
    Points points;
    if (m_pendingSelection) {
        shape = m_pendingKind;
        points = *m_pendingSelection;
    }
    const TaskSlot::Ticket ticket = beginTask(m_paletteTask, std::nullopt);
    setIsLoadingPalette(true);
    runTask(
        m_paletteTask, ticket, TaskPriority::userInitiated,
        [engines = m_engines, image = m_document->image, shape, points] {
            return engines->selectionPalette(image.image(), shape, points, 8);
        },
        [this, shape, points](const Outcome<std::vector<PaletteColor>>& read) {
            setIsLoadingPalette(false);
            // The area changed while it was read (a new, moved, cleared or
            // reselected selection): these colours are another area's.
            const auto pendingShape = m_pendingSelection ? std::optional(m_pendingKind) : std::nullopt;
            if (pendingShape != shape || m_pendingSelection.value_or(Points{}) != points)
                return;
            QList<PaletteEntry> entries;
            if (read.ok())
                for (const PaletteColor& c : *read.value)
                    entries.append(PaletteEntry{QUuid::createUuid(), c.color, c.share});
            setSelectionPalette(std::move(entries));
        });
}

bool EditorState::isColorPicked(double r, double g, double b) const
{
    return std::any_of(m_pickedColors.begin(), m_pickedColors.end(), [&](const RGBAColor& c) {
        return std::abs(c.r - r) < 0.002 && std::abs(c.g - g) < 0.002 && std::abs(c.b - b) < 0.002;
    });
}

void EditorState::togglePickedColor(RGBAColor color)
{
    QList<RGBAColor> colors = m_pickedColors;
    const auto found = std::find_if(colors.begin(), colors.end(), [&](const RGBAColor& c) {
        return std::abs(c.r - color.r) < 0.002 && std::abs(c.g - color.g) < 0.002 && std::abs(c.b - color.b) < 0.002;
    });
    if (found != colors.end())
        colors.erase(found);
    else
        colors.append(color);
    setPickedColors(std::move(colors));
}

void EditorState::togglePickedColor(const QColor& color)
{
    if (const auto c = qml::rgbaColor(color))
        togglePickedColor(*c);
}

void EditorState::pickColor(QPointF point)
{
    if (m_document) {
        const Image& image = m_document->image.image();
        // Only points on the image: the engine truncates toward zero, so a
        // point just left of or above the image would read its edge pixel.
        const bool inside = point.x() >= 0 && point.y() >= 0 && point.x() < image.width() && point.y() < image.height();
        if (inside)
            if (const auto c = m_engines->pixelColor(image, point.x(), point.y()); c && !isColorPicked(c->r, c->g, c->b)) {
                QList<RGBAColor> colors = m_pickedColors;
                colors.append(*c);
                setPickedColors(std::move(colors));
            }
    }
    if (m_canvasTool == CanvasTool::eyedropper)
        setCanvasTool(CanvasTool::select);
}

void EditorState::removePickedColors(bool keep)
{
    if (m_pickedColors.isEmpty())
        return;
    const auto selection = clearPendingSelection();
    appendMaskOp(MaskColorKey{std::vector<RGBAColor>(m_pickedColors.begin(), m_pickedColors.end()), m_colorTolerance,
                              keep, selection ? std::optional(selection->first) : std::nullopt,
                              selection ? selection->second : Points{}});
    setPendingSelection(std::nullopt);
    setPickedColors({});
    setSelectionPalette({});
}

// The crop becomes whole pixels, rounded outwards, and stays on the image; a
// draft that leaves 2 pixels or less of the image in either direction is
// refused and stays for the user to fix.
void EditorState::applyCrop()
{
    if (!m_cropDraft || m_cropDraft->width() <= 2 || m_cropDraft->height() <= 2 || !m_document)
        return;
    const QRectF& draft = *m_cropDraft;
    QRectF crop;
    if (const std::optional<AspectParts> parts = aspectParts(m_cropAspect)) {
        // Drawn at an aspect: exactly that aspect in whole pixels.
        const auto exact = cropAtAspect(draft, *parts, {m_document->width(), m_document->height()});
        if (!exact)
            return;
        crop = QRectF(exact->x, exact->y, exact->width, exact->height);
    } else {
        const double left = std::floor(draft.left());
        const double top = std::floor(draft.top());
        const QRectF whole(left, top, std::ceil(draft.right()) - left, std::ceil(draft.bottom()) - top);
        crop = whole.intersected(QRectF(0, 0, m_document->width(), m_document->height()));
    }
    if (crop.width() <= 2 || crop.height() <= 2)
        return;
    CompositeSettings settings = m_comp;
    settings.crop = crop;
    setComp(settings);
    setCropDraft(std::nullopt);
    if (m_canvasTool == CanvasTool::crop)
        setCanvasTool(CanvasTool::view);
}

void EditorState::removeCrop()
{
    CompositeSettings settings = m_comp;
    settings.crop.reset();
    setComp(settings);
    setCropDraft(std::nullopt);
}

void EditorState::zoomToFit()
{
    setZoom(1.0);
    setPanOffset({0, 0});
}

} // namespace zephrin
