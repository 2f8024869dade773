// EditorState: making a new subject matte for the document. Auto Subject,
// the selection cut and flat-colour keying share one slot, so when runs
// overlap only the newest one's matte lands; the matte then goes on to the
// refine at once. The matte remembers how it was made: a cut from the
// user's selection, or a flat-colour key the user tuned, is work the
// replace and clear questions name.

#include "model/editor/EditorState.h"

#include "engine/edits/SelectionGeometry.h"
#include "engine/types/MatteError.h"
#include "model/editor/EditorStateWork.h"
#include "model/engines/EditorEngines.h"

#include <QScopeGuard>

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

    const TaskSlot::Ticket ticket = beginCutoutRun(label);
    runTask(
        m_cutoutTask, ticket, TaskPriority::userInitiated,
        [engines = m_engines, image = m_document->image, model, region,
         giveBack = model == MatteModel::isnet && !m_batch->isRunning()] {
            // The network's working memory (some 450 MB) is needed again only
            // by the next cutout, which maps it in first; the batch's next
            // file would only map it in again. It goes before the matte lands:
            // the refine that starts then would otherwise take its buffers
            // while those pages are still resident, for a peak as high as the
            // give-back is late.
            const auto release = qScopeGuard([&] {
                if (giveBack)
                    engines->releaseIsnetMemory();
            });
            return engines->computeMatte(image.image(), model, region);
        },
        [this, fromSelection](const Outcome<MatteBox>& found) {
            if (!found.ok()) {
                const bool nothing = found.error == QString::fromUtf8(sentence(MatteErrorKind::noSubjectFound));
                setLastError(fromSelection && nothing ? kNothingInArea : found.error);
                return;
            }
            const MatteBox box = *found.value;
            setMatte(box);
            m_matteOrigin = fromSelection ? MatteOrigin::selection : MatteOrigin::automatic;
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

TaskSlot::Ticket EditorState::beginCutoutRun(const QString& label)
{
    // A "Line art" preset whose keying this run replaces still finishes as
    // its one step: its colour key does not need its own matte.
    finishLineArt();
    // The fill suggestion spoke for the matte being replaced; only this run's
    // probe may bring it back.
    cancelTask(m_probeTask);
    setSuggestFillHoles(false);
    // So did the last run's note; an error goes as a new run begins.
    clearLastError();
    setCutoutNote({});
    scheduleNetworkRelease();
    return beginTask(m_cutoutTask, label);
}

void EditorState::runFlatColor(std::function<void()> completion, std::function<void()> onFailure)
{
    runFlatColor(std::move(completion), std::move(onFailure), MatteOrigin::automatic);
}

void EditorState::runFlatColor(std::function<void()> completion, std::function<void()> onFailure, MatteOrigin origin)
{
    if (!m_document)
        return;
    const int closeGaps = int(std::lround(m_flatCloseGaps));
    const TaskSlot::Ticket ticket = beginCutoutRun(QStringLiteral("Keying background…"));
    runTask(
        m_cutoutTask, ticket, TaskPriority::userInitiated,
        [engines = m_engines, image = m_document->image, tolerance = m_flatTolerance,
         connected = m_flatConnectedOnly, closeGaps] {
            return engines->flatColorMask(image.image(), tolerance, connected, closeGaps);
        },
        [this, completion, onFailure, origin](const Outcome<MatteBox>& keyed) {
            if (!keyed.ok()) {
                setLastError(keyed.error);
                if (onFailure)
                    onFailure();
                return;
            }
            setMatte(*keyed.value);
            m_matteOrigin = origin;
            scheduleRender(true);
            if (completion)
                completion();
        });
}

void EditorState::scheduleFlatColor()
{
    const TaskSlot::Ticket ticket = beginTask(m_flatTask, std::nullopt);
    // Only a flat setting's change comes here: the key is the user's tuning.
    afterWait(m_flatTask, ticket, m_flatTask.debounce,
              [this] { runFlatColor(nullptr, nullptr, MatteOrigin::tunedKey); });
}

// "Keys out the background color everywhere, removes anti-aliased fringe, and
// sets Feather 0 / Decontaminate off / Contrast edges." The settings, the new
// matte and a new list of mask edits whose first entry is the colour key are
// one history step, recorded at once; the step before it carries the cutout
// setup it replaced (method, flat settings, colour tolerance, matte, mask
// list), so undo gives all of that back and redo applies the preset again.
// The colour key joins the step however the keying run ends: when it lands,
// or when a newer cutout run replaces it, also after other steps came since.
// When the keying fails, the step is the settings and an empty list; when the
// step is undone before the keying ends, the keying stops and redo runs it
// again.
void EditorState::applyLineArtPreset()
{
    if (!m_document)
        return;
    m_lineArtColors.reset();   // a preset still keying: this one takes its place
    setTool(EditorTool::cutout);
    setPendingSelection(std::nullopt);
    setLiveStroke({});
    setGradientLine(std::nullopt);
    setSelectionPalette({});
    setPickedColors({});
    const StepExtras before{std::make_shared<const CutoutSetup>(currentCutoutSetup()), std::nullopt};
    // The user's own edits in force; an earlier preset's key is none of them.
    const int handEdits = m_activeOpCount - (m_activeOpCount > 0 && lineArtKeyLeads() ? 1 : 0);

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

    setColorTolerance(40);
    setMaskOps({});
    setActiveOpCount(0);
    setEditLayers(std::nullopt);
    recordStep({}, before);
    keyLineArt(lineArtKeyColors(m_document->image.image()));
    if (handEdits > 0)
        showNotice(QStringLiteral("Line art replaced your hand edits — Undo brings them back"));
}

bool EditorState::lineArtKeyLeads() const
{
    const bool presetList = std::any_of(m_undoStack.begin(), m_undoStack.end(),
                                        [](const EditSnapshot& step) { return step.extras.cutout != nullptr; });
    return presetList && !m_maskOps.empty() && std::holds_alternative<MaskColorKey>(m_maskOps.front());
}

// The background colour, sampled just inside the four corners.
std::vector<RGBAColor> EditorState::lineArtKeyColors(const Image& image) const
{
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
    return colors;
}

void EditorState::keyLineArt(std::vector<RGBAColor> colors)
{
    runFlatColor([this] { finishLineArt(); },
                 [this] {
                     m_lineArtColors.reset();
                     applyMaskEdits();
                 });
    // Set after the run began, which finishes a preset it replaces.
    m_lineArtColors = std::move(colors);
}

void EditorState::finishLineArt()
{
    if (!m_lineArtColors)
        return;
    const std::vector<RGBAColor> colors = std::move(*m_lineArtColors);
    m_lineArtColors.reset();
    // The key comes first in the preset's list and is in force in every state
    // the preset led to, the steps recorded since included.
    std::vector<MaskEditOp> ops = m_maskOps;
    ops.insert(ops.begin(), MaskColorKey{colors, 40, false, std::nullopt, {}});
    setMaskOps(std::move(ops));
    setActiveOpCount(m_activeOpCount + 1);
    rewriteHistory(
        [](EditSnapshot snapshot) {
            ++snapshot.opCount;
            return snapshot;
        },
        HistoryReach::maskList);
    applyMaskEdits(QStringLiteral("Removing background color…"));
}

} // namespace zephrin
