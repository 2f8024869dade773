// EditorState: the mask and paint edits and the undo history.
//
// Both edit lists grow at the end; the first activeOpCount (activePaintOpCount)
// entries are in force and the rest are undone. History steps keep the
// refinement settings, the two counts and the composite (its settings with
// the text layers, and the backdrop), never operation lists, so undo and redo
// move the counts along the lists and put the settings back. "Clear edits"
// and "Clear paint" put every entry out of force (undo brings them back);
// appending behind entries that are out of force cuts them, and history steps
// that counted them then count only what is left, so a count never points
// past its list. The "Line art" preset starts a mask list of its own; the
// step before it carries the list it replaced (EditSnapshot), and the counts
// below that step run along it.
//
// Every user action is one step, recorded as it happens: a change with a
// merge key (the moves of one slider, the keystrokes of one text) amends the
// step before it until something closes that step, so a drag is one step.

#include "model/editor/EditorState.h"

#include "model/editor/EditorStateWork.h"
#include "model/engines/EditorEngines.h"
#include "model/qml/QmlValues.h"

namespace zephrin {

namespace {

struct MaskRender {
    std::optional<MaskEditLayers> layers;
    std::shared_ptr<const std::optional<RGBABitmap>> bitmap;   // made by this render, or null
};

bool hasColorKey(const std::vector<MaskEditOp>& ops)
{
    return std::any_of(ops.begin(), ops.end(),
                       [](const MaskEditOp& op) { return std::holds_alternative<MaskColorKey>(op); });
}

} // namespace

void EditorState::appendMaskOp(const MaskEditOp& op)
{
    if (!m_document)
        return;
    std::vector<MaskEditOp> ops = m_maskOps;
    if (std::size_t(m_activeOpCount) < ops.size()) {
        ops.resize(std::size_t(m_activeOpCount));
        limitHistoryCounts(m_activeOpCount, std::nullopt);
    }
    ops.push_back(op);
    const int count = int(ops.size());
    setMaskOps(std::move(ops));
    setActiveOpCount(count);
    recordStep({});
    applyMaskEdits();
}

void EditorState::appendPaintOp(const PaintOp& op)
{
    if (!m_document)
        return;
    std::vector<PaintOp> ops = m_paintOps;
    if (std::size_t(m_activePaintOpCount) < ops.size()) {
        ops.resize(std::size_t(m_activePaintOpCount));
        limitHistoryCounts(std::nullopt, m_activePaintOpCount);
    }
    ops.push_back(op);
    const int count = int(ops.size());
    setPaintOps(std::move(ops));
    setActivePaintOpCount(count);
    recordStep({});
    applyPaint();
}

void EditorState::limitHistoryCounts(std::optional<int> maskOps, std::optional<int> paintOps)
{
    if (maskOps)
        rewriteHistory(
            [&](EditSnapshot snapshot) {
                snapshot.opCount = std::min(snapshot.opCount, *maskOps);
                return snapshot;
            },
            HistoryReach::maskList);
    if (paintOps)
        rewriteHistory([&](EditSnapshot snapshot) {
            snapshot.paintOpCount = std::min(snapshot.paintOpCount, *paintOps);
            return snapshot;
        });
}

void EditorState::rewriteHistory(const std::function<EditSnapshot(EditSnapshot)>& change, HistoryReach reach)
{
    // Along the mask list in force: from each end of the two stacks up to the
    // nearest step that started a list of its own (whose far side, with all
    // beyond it, runs along another).
    const auto rewritten = [&](QList<EditSnapshot> stack) {
        for (qsizetype i = stack.size() - 1; i >= 0; --i) {
            if (reach == HistoryReach::maskList && stack[i].extras.cutout)
                break;
            stack[i] = change(stack[i]);
        }
        return stack;
    };
    setUndoStack(rewritten(m_undoStack));
    setRedoStack(rewritten(m_redoStack));
    setLastCommitted(change(m_lastCommitted));
}

EditSnapshot EditorState::currentSnapshot() const
{
    return {matteSettings(), m_activeOpCount, m_activePaintOpCount, m_comp, m_shownBackdropID,
            m_background, m_activePreset, m_exportBeforePreset, {}};
}

CutoutSetup EditorState::currentCutoutSetup() const
{
    return {m_cutoutMethod, m_flatTolerance, m_flatConnectedOnly, m_flatCloseGaps, m_colorTolerance, m_matte,
            m_matteOrigin, m_matteRevision, m_maskOps, m_lineArtColors};
}

ExportSetup EditorState::currentExportSetup(bool withSvg) const
{
    ExportSetup setup{m_exportFormat, m_exportLongEdge, std::nullopt};
    if (withSvg)
        setup.svg = ExportSetup::Svg{m_svgColors, m_svgFileMaker};
    return setup;
}

// The same kinds of extras as `like` carries, as they stand now.
StepExtras EditorState::currentExtras(const StepExtras& like) const
{
    StepExtras extras;
    if (like.cutout)
        extras.cutout = std::make_shared<const CutoutSetup>(currentCutoutSetup());
    if (like.exports)
        extras.exports = currentExportSetup(like.exports->svg.has_value());
    return extras;
}

void EditorState::commitHistory()
{
    m_openStepKey.clear();
    recordStep({});
}

void EditorState::recordStep(const QString& mergeKey, const StepExtras& before)
{
    if (!m_document || m_suppressHistory || m_historyHold > 0)
        return;
    const EditSnapshot current = currentSnapshot();
    if (before.empty() && !mergeKey.isEmpty() && mergeKey == m_openStepKey && !m_undoStack.isEmpty()) {
        if (current == m_undoStack.constLast()) {
            // Moved back to where the step began: no step is left of it.
            QList<EditSnapshot> undo = m_undoStack;
            undo.removeLast();
            setUndoStack(std::move(undo));
            m_openStepKey.clear();
        }
        setLastCommitted(current);
        return;
    }
    m_openStepKey = mergeKey;
    // A new matte is always a change; the export one when it differs.
    const bool changedMore = before.cutout || (before.exports && *before.exports != currentExtras(before).exports);
    if (current == m_lastCommitted && !changedMore)
        return;
    EditSnapshot undone = m_lastCommitted;
    undone.extras = before;
    QList<EditSnapshot> undo = m_undoStack;
    undo.append(undone);
    setUndoStack(std::move(undo));
    setRedoStack({});
    setLastCommitted(current);
    boundHistoryPictures();
}

EditorState::HistoryGroup::HistoryGroup(EditorState& editor, QString mergeKey, StepExtras before)
    : m_editor(editor), m_mergeKey(std::move(mergeKey)), m_before(std::move(before))
{
    ++m_editor.m_historyHold;
}

EditorState::HistoryGroup::~HistoryGroup()
{
    if (--m_editor.m_historyHold == 0)
        m_editor.recordStep(m_mergeKey, m_before);
}

// The pictures of the steps nearest to the one in force keep their pixels, so
// that undo and redo of the latest backdrop changes show them at once; a
// farther picture that can be made again lets them go in every step that
// holds it. Nearest first: one step back, one forward, two back, and so on.
void EditorState::boundHistoryPictures()
{
    const std::uint64_t shown = m_background ? m_background->generation : 0;
    std::vector<std::uint64_t> kept;
    std::vector<std::uint64_t> letGo;
    const auto visit = [&](const EditSnapshot& step) {
        const std::optional<BackdropPicture>& picture = step.background;
        if (!picture || !picture->pixels || picture->generation == shown ||
            std::find(kept.begin(), kept.end(), picture->generation) != kept.end())
            return;
        if (int(kept.size()) < kHistoryPictures || !picture->canLetGo())
            kept.push_back(picture->generation);
        else
            letGo.push_back(picture->generation);
    };
    const qsizetype back = m_undoStack.size();
    const qsizetype forward = m_redoStack.size();
    for (qsizetype distance = 1; distance <= std::max(back, forward); ++distance) {
        if (distance <= back)
            visit(m_undoStack[back - distance]);
        if (distance <= forward)
            visit(m_redoStack[forward - distance]);
    }
    if (letGo.empty())
        return;
    const auto release = [&](QList<EditSnapshot>& stack) {
        for (EditSnapshot& step : stack) {
            if (step.background && std::find(letGo.begin(), letGo.end(), step.background->generation) != letGo.end())
                step.background->pixels.reset();
        }
    };
    release(m_undoStack);
    release(m_redoStack);
}

EditorState::HeldPictures EditorState::historyPictures() const
{
    const std::uint64_t shown = m_background ? m_background->generation : 0;
    std::vector<std::uint64_t> counted;
    HeldPictures held;
    for (const QList<EditSnapshot>* stack : {&m_undoStack, &m_redoStack}) {
        for (const EditSnapshot& step : *stack) {
            const std::optional<BackdropPicture>& picture = step.background;
            if (!picture || !picture->pixels || picture->generation == shown ||
                std::find(counted.begin(), counted.end(), picture->generation) != counted.end())
                continue;
            counted.push_back(picture->generation);
            ++held.count;
            held.bytes += pixelBytes(picture->pixels->image());
        }
    }
    return held;
}

void EditorState::resetHistory()
{
    m_openStepKey.clear();
    setUndoStack({});
    setRedoStack({});
    setLastCommitted(currentSnapshot());
}

void EditorState::relabelBackground(std::uint64_t generation, const QString& backdropID, bool stillChosen)
{
    const auto relabelled = [&](EditSnapshot snapshot) {
        if (snapshot.background && snapshot.background->generation == generation)
            snapshot.backdropID = backdropID;
        return snapshot;
    };
    // The saved copy names the picture while it is still shown, so a failed
    // pick returns to it; the picker marks it only while no newer backdrop
    // choice has come since.
    if (m_background && m_background->generation == generation) {
        m_shownBackdropID = backdropID;
        if (stillChosen)
            setBackdropID(backdropID);
    }
    rewriteHistory(relabelled);
}

void EditorState::undo()
{
    stepHistory(true);
}

void EditorState::redo()
{
    stepHistory(false);
}

void EditorState::stepHistory(bool backwards)
{
    m_openStepKey.clear();
    QList<EditSnapshot> from = backwards ? m_undoStack : m_redoStack;
    if (from.isEmpty())
        return;
    QList<EditSnapshot> to = backwards ? m_redoStack : m_undoStack;
    const EditSnapshot target = from.takeLast();
    // The far side of the step gets what the step changed, as it stands here
    // (a "Line art" preset still keying: its colours, to key again).
    EditSnapshot here = currentSnapshot();
    here.extras = currentExtras(target.extras);
    to.append(here);
    setUndoStack(backwards ? std::move(from) : std::move(to));
    setRedoStack(backwards ? std::move(to) : std::move(from));
    restore(target);
    boundHistoryPictures();
}

// Puts the snapshot in force and renders again whatever it changed: the mask
// layers (whose refine also takes the settings), else the refine alone for
// settings; the paint layers; and, when nothing of that composites anew, the
// composite for its settings and backdrop (only the text layers when nothing
// else of it changed).
void EditorState::restore(const EditSnapshot& snapshot)
{
    const EditSnapshot before = currentSnapshot();
    const CutoutSetup* cutout = snapshot.extras.cutout.get();
    m_suppressHistory = true;
    setFillHoles(snapshot.settings.fillHoles);
    setEdgeMode(snapshot.settings.edgeMode);
    setFeather(snapshot.settings.feather);
    setDecontaminateEnabled(snapshot.settings.decontaminateEnabled);
    setDecontaminate(snapshot.settings.decontaminate);
    if (cutout)
        restoreCutoutSetup(*cutout);
    if (const auto& exports = snapshot.extras.exports)
        restoreExportSetup(*exports);
    setActivePreset(snapshot.activePreset);
    m_exportBeforePreset = snapshot.exportBeforePreset;
    m_suppressHistory = false;

    const auto generation = [](const EditSnapshot& step) { return step.background ? step.background->generation : 0; };
    const bool backdropChanged = before.backdropID != snapshot.backdropID || generation(before) != generation(snapshot);
    if (backdropChanged) {
        // A pick still loading is older than this step back.
        cancelTask(m_backdropTask);
        setBackground(snapshot.background);
        setBackdropID(snapshot.backdropID);
        m_shownBackdropID = snapshot.backdropID;
        // History let its pixels go: they are made again (the composite waits).
        if (m_background && !m_background->pixels)
            remakeBackground();
    }
    // Written without the observer: what renders again is decided below.
    assign(m_comp, snapshot.comp, &EditorState::compChanged);
    const auto& texts = m_comp.texts;
    if (!m_selectedTextID.isNull() &&
        std::none_of(texts.begin(), texts.end(), [&](const TextLayer& l) { return l.id == m_selectedTextID; }))
        setSelectedTextID({});
    setLastCommitted(snapshot.plain());

    const bool paintChanged = snapshot.paintOpCount != m_activePaintOpCount;
    if (paintChanged)
        setActivePaintOpCount(std::min(int(m_paintOps.size()), snapshot.paintOpCount));
    // A new matte and mask list render like a changed count.
    const bool maskChanged = snapshot.opCount != m_activeOpCount || cutout;
    if (maskChanged)
        setActiveOpCount(std::min(int(m_maskOps.size()), snapshot.opCount));
    const bool settingsChanged = before.settings != snapshot.settings;

    if (maskChanged)
        applyMaskEdits();
    else if (settingsChanged)
        scheduleRender(true);
    if (paintChanged) {
        applyPaint();
    } else if (!maskChanged && !settingsChanged && !before.sameComposite(snapshot)) {
        CompositeSettings oldBase = before.comp;
        CompositeSettings newBase = snapshot.comp;
        oldBase.texts.clear();
        newBase.texts.clear();
        if (!backdropChanged && oldBase == newBase && m_compositeBase)
            redrawTextLayers();
        else
            recomposite(true);
    }
    if (cutout && cutout->lineArtColors)
        keyLineArt(*cutout->lineArtColors);
}

void EditorState::restoreExportSetup(const ExportSetup& setup)
{
    setExportFormat(setup.format);
    setExportLongEdge(setup.longEdge);
    if (setup.svg) {
        setSvgColors(setup.svg->colors);
        setSvgFileMaker(setup.svg->fileMaker);
    }
}

// Puts a cutout setup in force: settings, matte and mask list (the counts
// follow in restore). A keying under way or waiting was for the setup left.
void EditorState::restoreCutoutSetup(const CutoutSetup& setup)
{
    m_lineArtColors.reset();
    cancelTask(m_flatTask);
    cancelTask(m_cutoutTask);
    setCutoutMethod(setup.method);
    setFlatTolerance(setup.flatTolerance);
    setFlatConnectedOnly(setup.flatConnectedOnly);
    setFlatCloseGaps(setup.flatCloseGaps);
    setColorTolerance(setup.colorTolerance);
    setMatte(setup.matte);
    m_matteOrigin = setup.matteOrigin;
    m_matteRevision = setup.matteRevision;   // the same matte: its kept renders still hold
    setMaskOps(setup.maskOps);
}

void EditorState::applyMaskEdits()
{
    applyMaskEdits(QStringLiteral("Applying edits…"));
}

void EditorState::applyMaskEdits(const QString& busyLabel)
{
    const std::vector<MaskEditOp> ops(m_maskOps.begin(), m_maskOps.begin() + m_activeOpCount);
    if (ops.empty() || !m_document) {
        cancelTask(m_maskTask);
        setEditLayers(std::nullopt);
        scheduleRender(true);
        return;
    }
    MaskLayersKey key{m_document->image.generation(), ops};
    if (const auto kept = m_kept.mask.find(key)) {
        cancelTask(m_maskTask);
        setEditLayers(kept->layers);
        m_editsRevision = kept->revision;
        scheduleRender(true);
        return;
    }
    const bool needsBitmap = hasColorKey(ops);
    const TaskSlot::Ticket ticket = beginTask(m_maskTask, busyLabel);
    runTask(
        m_maskTask, ticket, TaskPriority::userInitiated,
        [engines = m_engines, ops, source = m_document->image, cached = m_sourceBitmap, needsBitmap] {
            MaskRender render;
            auto bitmap = cached;
            if (needsBitmap && !bitmap) {
                bitmap = std::make_shared<const std::optional<RGBABitmap>>(engines->sourceBitmap(source.image()));
                render.bitmap = bitmap;
            }
            static const std::optional<RGBABitmap> none;
            render.layers = engines->maskEditLayers(ops, source.image().width(), source.image().height(),
                                                    needsBitmap ? *bitmap : none);
            return render;
        },
        orLastError<MaskRender>([this, key = std::move(key)](const MaskRender& rendered) {
            if (rendered.bitmap && !m_sourceBitmap)
                m_sourceBitmap = rendered.bitmap;
            setEditLayers(rendered.layers);
            m_kept.mask.keep(key, {rendered.layers, m_editsRevision}, pixelBytes(rendered.layers));
            scheduleRender(true);
        }));
}

void EditorState::applyPaint()
{
    const std::vector<PaintOp> ops(m_paintOps.begin(), m_paintOps.begin() + m_activePaintOpCount);
    if (ops.empty() || !m_document) {
        cancelTask(m_paintTask);
        setPaintLayers(std::nullopt);
        recomposite(true);
        return;
    }
    const TaskSlot::Ticket ticket = beginTask(m_paintTask, QStringLiteral("Painting…"));
    runTask(
        m_paintTask, ticket, TaskPriority::userInitiated,
        [engines = m_engines, ops, size = sourceSize()] {
            return engines->paintLayers(ops, size.width(), size.height());
        },
        orLastError<std::optional<PaintLayers>>([this](const std::optional<PaintLayers>& rendered) {
            setPaintLayers(rendered);
            recomposite(true);
        }));
}

void EditorState::commitPaintStroke(const Points& points)
{
    if (points.empty() || m_canvasTool != CanvasTool::paint) {
        setLiveStroke({});
        return;
    }
    holdStroke(points);
    PaintStroke stroke{m_paintColor, m_paintBlend, m_paintOpacity / 100, m_brushTip, m_brushSize, m_brushHardness,
                       points, std::nullopt, {}};
    if (const auto clip = pendingClip()) {
        stroke.shape = clip->first;
        stroke.shapePoints = clip->second;
    }
    appendPaintOp(stroke);
    settleStroke();
}

void EditorState::commitMaskStroke(const Points& points)
{
    if (points.empty() || (m_canvasTool != CanvasTool::erase && m_canvasTool != CanvasTool::restore)) {
        setLiveStroke({});
        return;
    }
    holdStroke(points);
    appendMaskOp(MaskStroke{m_canvasTool == CanvasTool::erase, m_brushTip, m_brushSize, m_brushHardness, points});
    settleStroke();
}

// Between the release and the new composite the layers are re-rendered, the
// cutout refined and the composite redrawn, which on a large photo takes a
// good part of a second: without the stroke on screen the edit would seem to
// vanish meanwhile.
void EditorState::holdStroke(const Points& points)
{
    setLiveStroke(points);
    m_settlingStroke = points;
}

void EditorState::settleStroke(bool textDrawn)
{
    if (!m_settlingStroke || m_busy.busy() || (m_textTask.running() && !textDrawn))
        return;
    dropSettlingStroke();
}

void EditorState::dropSettlingStroke()
{
    if (!m_settlingStroke)
        return;
    // A stroke begun since is the user's, not the one settling.
    if (m_liveStroke == *m_settlingStroke)
        setLiveStroke({});
    m_settlingStroke.reset();
}

void EditorState::commitPaintStroke(const QVariantList& points)
{
    commitPaintStroke(qml::points(points).value_or(Points{}));
}

void EditorState::commitMaskStroke(const QVariantList& points)
{
    commitMaskStroke(qml::points(points).value_or(Points{}));
}

void EditorState::clearPaint()
{
    if (m_activePaintOpCount == 0)
        return;
    setActivePaintOpCount(0);
    commitHistory();
    applyPaint();
}

void EditorState::clearEdits()
{
    if (m_activeOpCount == 0)
        return;
    setActiveOpCount(0);
    setPendingSelection(std::nullopt);
    setLiveStroke({});
    setGradientLine(std::nullopt);
    setSelectionPalette({});
    commitHistory();
    applyMaskEdits();
}

void EditorState::eraseSelection(bool inside)
{
    if (!m_document)
        return;
    if (const auto selection = clearPendingSelection())
        appendMaskOp(MaskShape{selection->first, selection->second, inside});
}

std::optional<std::pair<SelectionKind, EditorState::Points>> EditorState::pendingClip() const
{
    if (!m_pendingSelection)
        return std::nullopt;
    return std::make_pair(m_pendingKind, *m_pendingSelection);
}

} // namespace zephrin
