// EditorState: making a new subject matte for the document. Auto Subject,
// the selection cut and flat-colour keying share one slot, so when runs
// overlap only the newest one's matte lands; the matte then goes on to the
// refine at once.

#include "model/editor/EditorState.h"

#include "engine/edits/SelectionGeometry.h"
#include "engine/types/MatteError.h"
#include "model/editor/EditorStateWork.h"
#include "model/engines/EditorEngines.h"

#include <cmath>

namespace zephrin {

namespace {

const QString kSceneFallbackNote = QStringLiteral(
    "No single subject found — kept the scene and removed flat background areas. Use Flat Color or Select to refine.");
const QString kNothingInArea = QStringLiteral("Nothing found in that area. Try a looser box.");

// The smallest rectangle of whole pixels that holds the box.
QRectF integralBox(const QRectF& box)
{
    const double left = std::floor(box.left());
    const double top = std::floor(box.top());
    return QRectF(left, top, std::ceil(box.right()) - left, std::ceil(box.bottom()) - top);
}

} // namespace

void EditorState::runAutoSubject()
{
    if (!m_document)
        return;
    runCutout(std::nullopt, false);
}

void EditorState::cutSelection()
{
    if (!m_document)
        return;
    if (!m_pendingSelection || m_pendingSelection->size() < 2) {
        runAutoSubject();
        return;
    }
    const QRectF region = integralBox(boundingRect(m_pendingKind, *m_pendingSelection));
    if (region.width() <= 2 || region.height() <= 2) {
        runAutoSubject();
        return;
    }
    setPendingSelection(std::nullopt);
    setLiveStroke({});
    setGradientLine(std::nullopt);
    setSelectionPalette({});
    runCutout(region, true);
}

void EditorState::runCutout(std::optional<QRectF> region, bool fromSelection)
{
    const MatteModel model = m_matteModel;
    QString label;
    if (model == MatteModel::isnet && !m_engines->isnetLoaded())
        label = QStringLiteral("Loading IS-Net…");
    else if (fromSelection)
        label = QStringLiteral("Cutting selection…");
    else
        label = model == MatteModel::isnet ? QStringLiteral("Running IS-Net…") : QStringLiteral("Finding subject…");

    const TaskSlot::Ticket ticket = beginTask(m_cutoutTask, label);
    clearLastError(ErrorTopic::cutout);
    setCutoutNote({});
    runTask(
        m_cutoutTask, ticket, TaskPriority::userInitiated,
        [engines = m_engines, image = m_document->image, model, region] {
            return engines->computeMatte(image.image(), model, region);
        },
        [this, fromSelection](const Outcome<MatteBox>& found) {
            if (!found.ok()) {
                const bool nothing = found.error == QString::fromUtf8(sentence(MatteErrorKind::noSubjectFound));
                setLastError(fromSelection && nothing ? kNothingInArea : found.error, ErrorTopic::cutout);
                return;
            }
            const MatteBox box = *found.value;
            setMatte(box);
            if (!fromSelection && box.sceneFallback) {
                setCutoutNote(kSceneFallbackNote);
                scheduleRender(true);
                return;
            }
            scheduleRender(true);
            startFillHolesProbe(box);
        });
}

void EditorState::startFillHolesProbe(const MatteBox& box)
{
    const TaskSlot::Ticket ticket = beginTask(m_probeTask, std::nullopt);
    runTask(
        m_probeTask, ticket, TaskPriority::utility,
        [engines = m_engines, matte = box.image()] { return engines->hasFillableHoles(matte); },
        [this](const Outcome<bool>& holes) {
            if (holes.ok())
                setSuggestFillHoles(*holes.value);
        });
}

void EditorState::runFlatColor(std::function<void()> completion)
{
    runFlatColor(std::move(completion), nullptr);
}

void EditorState::runFlatColor(std::function<void()> completion, std::function<void()> onFailure)
{
    if (!m_document)
        return;
    const int closeGaps = int(std::lround(m_flatCloseGaps));
    const TaskSlot::Ticket ticket = beginTask(m_cutoutTask, QStringLiteral("Keying background…"));
    // A probe of an earlier matte must not speak for this one.
    cancelTask(m_probeTask);
    clearLastError(ErrorTopic::cutout);
    setSuggestFillHoles(false);
    setCutoutNote({});
    runTask(
        m_cutoutTask, ticket, TaskPriority::userInitiated,
        [engines = m_engines, image = m_document->image, tolerance = m_flatTolerance,
         connected = m_flatConnectedOnly, closeGaps] {
            return engines->flatColorMask(image.image(), tolerance, connected, closeGaps);
        },
        [this, completion, onFailure](const Outcome<MatteBox>& keyed) {
            if (!keyed.ok()) {
                setLastError(keyed.error, ErrorTopic::cutout);
                if (onFailure)
                    onFailure();
                return;
            }
            setMatte(*keyed.value);
            scheduleRender(true);
            if (completion)
                completion();
        });
}

void EditorState::scheduleFlatColor()
{
    const TaskSlot::Ticket ticket = beginTask(m_flatTask, std::nullopt);
    afterWait(m_flatTask, ticket, m_flatTask.debounce, [this] { runFlatColor(nullptr); });
}

// "Keys out the background color everywhere, removes anti-aliased fringe, and
// sets Feather 0 / Decontaminate off / Contrast edges." The settings, the
// dropped mask edits and the colour key are one history step: undo returns to
// the settings before, without mask edits.
void EditorState::applyLineArtPreset()
{
    if (!m_document)
        return;
    setTool(EditorTool::cutout);
    setPendingSelection(std::nullopt);
    setLiveStroke({});
    setGradientLine(std::nullopt);
    setSelectionPalette({});
    setPickedColors({});

    m_suppressHistory = true;
    setCutoutMethod(CutoutMethod::flat);
    setFlatConnectedOnly(false);
    setFlatCloseGaps(0);
    setFillHoles(false);
    setEdgeMode(EdgeRefineMode::contrast);
    setFeather(0);
    setDecontaminateEnabled(false);
    m_suppressHistory = false;
    cancelTask(m_flatTask);

    // The background colour, sampled just inside the four corners.
    const Image& image = m_document->image.image();
    const int w = image.width();
    const int h = image.height();
    const int m = std::min(w, h);
    const int inset = m < 100 ? 2 : m / 50;
    const QPointF corners[] = {{double(inset), double(inset)},
                               {double(w - 1 - inset), double(inset)},
                               {double(inset), double(h - 1 - inset)},
                               {double(w - 1 - inset), double(h - 1 - inset)}};
    std::vector<RGBAColor> colors;
    for (const QPointF& corner : corners) {
        const auto c = m_engines->pixelColor(image, corner.x(), corner.y());
        if (!c)
            continue;
        const bool known = std::any_of(colors.begin(), colors.end(), [&](const RGBAColor& k) {
            return std::abs(k.r - c->r) < 0.04 && std::abs(k.g - c->g) < 0.04 && std::abs(k.b - c->b) < 0.04;
        });
        if (!known)
            colors.push_back(*c);
    }
    if (colors.empty())
        colors.push_back({1, 1, 1, 1});

    // The mask edits go out of force; the colour key's append cuts them.
    setColorTolerance(40);
    setActiveOpCount(0);
    setEditLayers(std::nullopt);

    runFlatColor(
        [this, colors] {
            appendMaskOp(MaskColorKey{colors, 40, false, std::nullopt, {}},
                         QStringLiteral("Removing background color…"));
        },
        [this] {
            // No colour key: the settings and the edits out of force are the
            // step, and undo brings the edits back.
            commitHistory();
            applyMaskEdits();
        });
}

} // namespace zephrin
