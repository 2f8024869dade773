// EditorState: construction, the setters of the plain properties, the busy
// state and the task slots. The setters that start work are in
// EditorObservers.cpp.

#include "model/editor/EditorState.h"

#include "model/editor/EditorStateWork.h"
#include "model/editor/FeedbackTexts.h"
#include "model/engines/EditorEngines.h"

#include <QGuiApplication>
#include <QClipboard>
#include <QDir>
#include <QMimeData>
#include <QSettings>

namespace zephrin {

void SystemClipboard::setMimeData(QMimeData* data)
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QGuiApplication::clipboard()->setMimeData(data);
    else
        delete data;
}

EditorState::EditorState(QObject* parent) : EditorState(EditorServices{}, parent) {}

EditorState::EditorState(EditorServices services, QObject* parent)
    : QObject(parent),
      m_engines(services.engines ? std::move(services.engines) : std::make_shared<EditorEngines>()),
      m_runner(services.runner ? std::move(services.runner) : std::make_shared<ThreadTaskRunner>()),
      m_clipboard(services.clipboard ? std::move(services.clipboard) : std::make_shared<SystemClipboard>()),
      m_settings(services.settingsFile.isEmpty()
                     ? std::make_unique<QSettings>(QStringLiteral("Zephrin"), QStringLiteral("Zephrin"))
                     : std::make_unique<QSettings>(services.settingsFile, QSettings::IniFormat)),
      m_shareFolderSetting(std::move(services.shareFolder))
{
    m_matteModel = readMatteModelSetting();
    m_batch = new BatchState(m_runner, std::move(services.batchEngines), this);
    watchBatch();
    m_textLayerList = new TextLayerList(*this, this);
    m_sheetItemList = new StickerItemList(*this, this);
    for (auto signal : {&EditorState::sheetRenderChanged, &EditorState::sheetLayoutPendingChanged,
                        &EditorState::sheetErrorChanged})
        connect(this, signal, this, &EditorState::publishSheetExportable);
    m_lastCommitted = currentSnapshot();

    for (auto signal : {&EditorState::selectionKindChanged, &EditorState::liveStrokeChanged,
                        &EditorState::pendingSelectionChanged, &EditorState::canvasToolChanged})
        connect(this, signal, this, &EditorState::polygonStateChanged);
    for (auto signal : {&EditorState::activePresetChanged, &EditorState::compositeChanged,
                        &EditorState::compChanged, &EditorState::backgroundImageChanged,
                        &EditorState::subjectBoundsSizeChanged, &EditorState::subjectWhiteFractionChanged,
                        &EditorState::exportFormatChanged, &EditorState::exportLongEdgeChanged,
                        &EditorState::transparentBackgroundChanged, &EditorState::svgColorsChanged})
        connect(this, signal, this, &EditorState::complianceItemsChanged);
    for (auto signal : {&EditorState::cutoutChanged, &EditorState::compositeChanged, &EditorState::exportLongEdgeChanged})
        connect(this, signal, this, &EditorState::exportSizeChanged);
    for (auto signal : {&EditorState::paintOpsChanged, &EditorState::activePaintOpCountChanged})
        connect(this, signal, this, &EditorState::updateWillReplaceGradient);

    connect(this, &EditorState::isProcessingChanged, this, &EditorState::scheduleIdleRelease);
    for (auto signal : {&BatchState::isRunningChanged, &BatchState::progressChanged})
        connect(m_batch, signal, this, &EditorState::scheduleIdleRelease);

    // The first import will cut its subject out: the model loads meanwhile,
    // so that cutout waits only for the network.
    if (autoSubjectOnImport())
        startWarmUp();
}

EditorState::~EditorState()
{
    const std::lock_guard lock(m_warmUpGate->lock);
    m_warmUpGate->stopped = true;
}

QSize EditorState::sourceSize() const
{
    return m_document ? QSize(m_document->width(), m_document->height()) : QSize(0, 0);
}

MatteSettings EditorState::matteSettings() const
{
    return {m_fillHoles, m_edgeMode, m_feather, m_decontaminateEnabled, m_decontaminate};
}

// ---- Plain setters ----------------------------------------------------------

void EditorState::setTool(EditorTool value)
{
    if (!assign(m_tool, value, &EditorState::toolChanged) || offersCanvasTool(value, m_canvasTool))
        return;
    // The panel in view has no controls for the canvas tool that was on: it
    // would go on painting, erasing or cropping unseen.
    if (m_canvasTool == CanvasTool::crop) {
        cancelCropEditing();
        return;
    }
    setCanvasTool(CanvasTool::view);
    setLiveStroke({});
}
void EditorState::setDocument(std::optional<ImageDocument> value)
{
    // Another picture: nothing kept of the last one is shown again. Its
    // results are let go on a worker: giving back hundreds of megabytes
    // would stall the GUI thread.
    if (assign(m_document, std::move(value), &EditorState::documentChanged) && m_kept.count() > 0) {
        auto dropped = std::make_shared<KeptRenders>(std::move(m_kept));
        m_kept = KeptRenders{};
        m_runner->run(TaskPriority::utility, this, [dropped] {
            dropped->clear();
            return TaskRunner::Continuation();
        });
    }
    if (m_document)
        m_kept.fitTo(std::size_t(m_document->width()) * std::size_t(m_document->height()));
}
void EditorState::setCutout(std::optional<ImageBox> value)
{
    // The cutout is the shown result only while there is no composite.
    if (assign(m_cutout, std::move(value), &EditorState::cutoutChanged) && !m_composite)
        onResultChanged();
}
void EditorState::setComposite(std::optional<ImageBox> value, const CompositeFrame& frame, bool opaque)
{
    m_compositeFrame = value ? frame : CompositeFrame{};
    assign(m_resultOpaque, value && opaque, &EditorState::resultOpaqueChanged);
    if (assign(m_composite, std::move(value), &EditorState::compositeChanged))
        onResultChanged();
}
const std::optional<ImageBox>& EditorState::backgroundImage() const
{
    static const std::optional<ImageBox> none;
    return m_background ? m_background->pixels : none;
}
void EditorState::setBackground(std::optional<BackdropPicture> value)
{
    const auto named = [](const std::optional<BackdropPicture>& picture) {
        return std::pair(picture ? picture->generation : 0, picture && picture->pixels);
    };
    const bool changed = named(m_background) != named(value);
    m_background = std::move(value);
    if (changed)
        emit backgroundImageChanged();
}
void EditorState::setBackdropID(const QString& value) { assign(m_backdropID, value, &EditorState::backdropIDChanged); }
void EditorState::setCustomBackdropA(RGBAColor value) { assign(m_customBackdropA, value, &EditorState::customBackdropAChanged); }
void EditorState::setCustomBackdropB(RGBAColor value) { assign(m_customBackdropB, value, &EditorState::customBackdropBChanged); }
void EditorState::setCustomBackdropShape(CustomBackdropShape value) { assign(m_customBackdropShape, value, &EditorState::customBackdropShapeChanged); }
void EditorState::setSelectedTextID(QUuid value) { assign(m_selectedTextID, value, &EditorState::selectedTextIDChanged); }
void EditorState::setMatte(std::optional<MatteBox> value)
{
    if (assign(m_matte, std::move(value), &EditorState::matteChanged))
        m_matteRevision = ++m_revisions;
}
void EditorState::setSuggestFillHoles(bool value) { assign(m_suggestFillHoles, value, &EditorState::suggestFillHolesChanged); }
void EditorState::setCutoutNote(const QString& value) { assign(m_cutoutNote, value, &EditorState::cutoutNoteChanged); }
void EditorState::setCutoutMethod(CutoutMethod value) { assign(m_cutoutMethod, value, &EditorState::cutoutMethodChanged); }
void EditorState::setActivePreset(std::optional<ListingPreset> value) { assign(m_activePreset, value, &EditorState::activePresetChanged); }
void EditorState::setZoom(double value) { assign(m_zoom, value, &EditorState::zoomChanged); }
void EditorState::setCompareEnabled(bool value) { assign(m_compareEnabled, value, &EditorState::compareEnabledChanged); }
void EditorState::setComparePosition(double value) { assign(m_comparePosition, value, &EditorState::comparePositionChanged); }
void EditorState::setPanOffset(QSizeF value) { assign(m_panOffset, value, &EditorState::panOffsetChanged); }
void EditorState::setSpacePan(bool value) { assign(m_spacePan, value, &EditorState::spacePanChanged); }
void EditorState::setHoverPoint(std::optional<QPointF> value) { assign(m_hoverPoint, value, &EditorState::hoverPointChanged); }
void EditorState::setCanvasTool(CanvasTool value)
{
    // A settling stroke is drawn in its tool's colours; another tool's would be wrong.
    if (assign(m_canvasTool, value, &EditorState::canvasToolChanged))
        dropSettlingStroke();
}
void EditorState::setPreviousTool(CanvasTool value) { assign(m_previousTool, value, &EditorState::previousToolChanged); }
void EditorState::setBrushTip(BrushTip value) { assign(m_brushTip, value, &EditorState::brushTipChanged); }
void EditorState::setBrushSize(double value) { assign(m_brushSize, kBrushSizeRange.clamped(value), &EditorState::brushSizeChanged); }
void EditorState::setBrushHardness(double value) { assign(m_brushHardness, kBrushHardnessRange.clamped(value), &EditorState::brushHardnessChanged); }
void EditorState::setPendingSelection(std::optional<Points> value) { assign(m_pendingSelection, std::move(value), &EditorState::pendingSelectionChanged); }
void EditorState::setPendingKind(SelectionKind value) { assign(m_pendingKind, value, &EditorState::pendingKindChanged); }
void EditorState::setLastSelection(std::optional<Points> value) { assign(m_lastSelection, std::move(value), &EditorState::lastSelectionChanged); }
void EditorState::setLastSelectionKind(SelectionKind value) { assign(m_lastSelectionKind, value, &EditorState::lastSelectionKindChanged); }
void EditorState::setLiveStroke(Points value) { assign(m_liveStroke, std::move(value), &EditorState::liveStrokeChanged); }
void EditorState::setSelectionPalette(QList<PaletteEntry> value) { assign(m_selectionPalette, std::move(value), &EditorState::selectionPaletteChanged); }
void EditorState::setPickedColors(QList<RGBAColor> value) { assign(m_pickedColors, std::move(value), &EditorState::pickedColorsChanged); }
void EditorState::setColorTolerance(double value) { assign(m_colorTolerance, MaskColorKey::toleranceRange.clamped(value), &EditorState::colorToleranceChanged); }
void EditorState::setIsLoadingPalette(bool value) { assign(m_isLoadingPalette, value, &EditorState::isLoadingPaletteChanged); }
void EditorState::setMaskOps(std::vector<MaskEditOp> value) { assign(m_maskOps, std::move(value), &EditorState::maskOpsChanged); }
void EditorState::setActiveOpCount(int value) { assign(m_activeOpCount, value, &EditorState::activeOpCountChanged); }
void EditorState::setEditLayers(std::optional<MaskEditLayers> value)
{
    if (assign(m_editLayers, std::move(value), &EditorState::editLayersChanged))
        m_editsRevision = m_editLayers ? ++m_revisions : 0;
}
void EditorState::setPaintColor(RGBAColor value) { assign(m_paintColor, value, &EditorState::paintColorChanged); }
void EditorState::setPaintBlend(PaintBlend value) { assign(m_paintBlend, value, &EditorState::paintBlendChanged); }
void EditorState::setPaintOpacity(double value) { assign(m_paintOpacity, kPaintOpacityRange.clamped(value), &EditorState::paintOpacityChanged); }
void EditorState::setGradientKind(GradientKind value) { assign(m_gradientKind, value, &EditorState::gradientKindChanged); }
void EditorState::setGradientStart(RGBAColor value) { assign(m_gradientStart, value, &EditorState::gradientStartChanged); }
void EditorState::setGradientEnd(RGBAColor value) { assign(m_gradientEnd, value, &EditorState::gradientEndChanged); }
void EditorState::setGradientLine(std::optional<QLineF> value) { assign(m_gradientLine, value, &EditorState::gradientLineChanged); }
void EditorState::setGradientAngle(double value) { assign(m_gradientAngle, kGradientAngleRange.clamped(value), &EditorState::gradientAngleChanged); }
void EditorState::setPaintOps(std::vector<PaintOp> value) { assign(m_paintOps, std::move(value), &EditorState::paintOpsChanged); }
void EditorState::setActivePaintOpCount(int value) { assign(m_activePaintOpCount, value, &EditorState::activePaintOpCountChanged); }
void EditorState::setPaintLayers(std::optional<PaintLayers> value)
{
    if (assign(m_paintLayers, std::move(value), &EditorState::paintLayersChanged))
        m_paintRevision = m_paintLayers ? ++m_revisions : 0;
}
void EditorState::setCropDraft(std::optional<QRectF> value) { assign(m_cropDraft, value, &EditorState::cropDraftChanged); }
void EditorState::setCropAspect(AspectPreset value) { assign(m_cropAspect, value, &EditorState::cropAspectChanged); }
void EditorState::setUndoStack(QList<EditSnapshot> value) { assign(m_undoStack, std::move(value), &EditorState::undoStackChanged); }
void EditorState::setRedoStack(QList<EditSnapshot> value) { assign(m_redoStack, std::move(value), &EditorState::redoStackChanged); }
void EditorState::setLastCommitted(const EditSnapshot& value) { assign(m_lastCommitted, value, &EditorState::lastCommittedChanged); }
void EditorState::setExportFormat(ExportFormat value) { assign(m_exportFormat, value, &EditorState::exportFormatChanged); }
void EditorState::setExportLongEdge(int value) { assign(m_exportLongEdge, value, &EditorState::exportLongEdgeChanged); }
void EditorState::setExportQuality(double value) { assign(m_exportQuality, kExportQualityRange.clamped(value), &EditorState::exportQualityChanged); }
void EditorState::setTransparentBackground(bool value) { assign(m_transparentBackground, value, &EditorState::transparentBackgroundChanged); }
void EditorState::setShowExportSheet(bool value) { assign(m_showExportSheet, value, &EditorState::showExportSheetChanged); }
void EditorState::setShowFileExporter(bool value) { assign(m_showFileExporter, value, &EditorState::showFileExporterChanged); }
void EditorState::setExportFile(std::optional<ExportFile> value) { assign(m_exportFile, std::move(value), &EditorState::exportFileChanged); }
void EditorState::setExportFilename(const QString& value) { assign(m_exportFilename, value, &EditorState::exportFilenameChanged); }
void EditorState::setExportDestination(ExportDestination value) { assign(m_exportDestination, value, &EditorState::exportDestinationChanged); }
void EditorState::setShareURL(const QUrl& value) { assign(m_shareURL, value, &EditorState::shareURLChanged); }
void EditorState::setShowShareSheet(bool value) { assign(m_showShareSheet, value, &EditorState::showShareSheetChanged); }
void EditorState::setSvgColors(int value) { assign(m_svgColors, value, &EditorState::svgColorsChanged); }
void EditorState::setSvgDetail(double value) { assign(m_svgDetail, value, &EditorState::svgDetailChanged); }
void EditorState::setSvgFileMaker(bool value) { assign(m_svgFileMaker, value, &EditorState::svgFileMakerChanged); }
void EditorState::setSvgSource(TraceSource value) { assign(m_svgSource, value, &EditorState::svgSourceChanged); }
void EditorState::setImportTarget(ImportTarget value) { assign(m_importTarget, value, &EditorState::importTargetChanged); }
void EditorState::setShowImporter(bool value) { assign(m_showImporter, value, &EditorState::showImporterChanged); }
void EditorState::setBatchMode(bool value) { assign(m_batchMode, value, &EditorState::batchModeChanged); }
void EditorState::setPendingIncomingURL(const QUrl& value) { assign(m_pendingIncomingURL, value, &EditorState::pendingIncomingURLChanged); }
void EditorState::setShowIncomingReplaceConfirm(bool value) { assign(m_showIncomingReplaceConfirm, value, &EditorState::showIncomingReplaceConfirmChanged); }
void EditorState::setSheetRender(std::optional<SheetRender> value) { assign(m_sheetRender, std::move(value), &EditorState::sheetRenderChanged); }
void EditorState::setSheetNotice(const QString& value) { assign(m_sheetNotice, value, &EditorState::sheetNoticeChanged); }
void EditorState::setSheetRenderStamp(int value) { assign(m_sheetRenderStamp, value, &EditorState::sheetRenderStampChanged); }
void EditorState::setSheetError(const QString& value) { assign(m_sheetError, value, &EditorState::sheetErrorChanged); }
void EditorState::setDefaultStickerWidth(double value) { assign(m_defaultStickerWidth, value, &EditorState::defaultStickerWidthChanged); }

void EditorState::setSubjectMeasures(QSizeF bounds, double whiteFraction)
{
    assign(m_subjectBoundsSize, bounds, &EditorState::subjectBoundsSizeChanged);
    assign(m_subjectWhiteFraction, whiteFraction, &EditorState::subjectWhiteFractionChanged);
}

// ---- Errors and notices -------------------------------------------------------

// The batch's panel says what went wrong; the notice says where the files
// went. A run that made results and an Export All that wrote files are the
// user's successes too: each takes away an error older than its start.
void EditorState::watchBatch()
{
    connect(m_batch, &BatchState::isRunningChanged, this, [this] {
        if (m_batch->isRunning())
            m_batchErrorCounts.run = m_errorCount;
    });
    connect(m_batch, &BatchState::isSavingChanged, this, [this] {
        if (m_batch->isSaving())
            m_batchErrorCounts.save = m_errorCount;
    });
    connect(m_batch, &BatchState::runSucceeded, this, [this] { clearErrorsUpTo(m_batchErrorCounts.run); });
    connect(m_batch, &BatchState::saveFinished, this,
            [this](int written, int, const QString& folder, const QStringList& renamed) {
                if (written == 0)
                    return;
                clearErrorsUpTo(m_batchErrorCounts.save);
                showNotice(feedback::exportedNotice(written, folder, QDir::homePath(), renamed), folder);
            });
}

void EditorState::setLastError(const QString& value)
{
    if (!value.isEmpty())
        ++m_errorCount;
    assign(m_lastError, value, &EditorState::lastErrorChanged);
}

void EditorState::clearLastError()
{
    setLastError({});
}

void EditorState::clearErrorsUpTo(std::uint64_t count)
{
    if (m_errorCount <= count)
        setLastError({});
}

void EditorState::showNotice(const QString& text, const QString& revealPath, const QString& copyPath)
{
    const TaskSlot::Ticket ticket = beginTask(m_noticeTask, std::nullopt);
    setNotice(text, revealPath, copyPath);
    afterWait(m_noticeTask, ticket, noticeDuration, [this] { dismissNotice(); });
}

void EditorState::showFailureNotice(const QString& text)
{
    const TaskSlot::Ticket ticket = beginTask(m_noticeTask, std::nullopt);
    setNotice(text, {}, {}, true);
    afterWait(m_noticeTask, ticket, noticeDuration, [this] { dismissNotice(); });
}

void EditorState::showPathNotice(const QString& text, const QString& path, NoticeKind kind)
{
    cancelTask(m_noticeTask);
    setNotice(text, {}, path, kind == NoticeKind::failure);
}

void EditorState::setNotice(const QString& text, const QString& revealPath, const QString& copyPath, bool failure)
{
    if (text == m_notice && revealPath == m_noticeRevealPath && copyPath == m_noticeCopyPath
        && failure == m_noticeIsFailure)
        return;
    m_notice = text;
    m_noticeRevealPath = revealPath;
    m_noticeCopyPath = copyPath;
    m_noticeIsFailure = failure;
    emit noticeChanged();
}

void EditorState::copyNoticePath()
{
    if (m_noticeCopyPath.isEmpty())
        return;
    auto* data = new QMimeData;
    data->setText(m_noticeCopyPath);
    m_clipboard->setMimeData(data);
    showNotice(QStringLiteral("Copied the path"));
}

void EditorState::dismissNotice()
{
    cancelTask(m_noticeTask);
    setNotice({}, {}, {});
}

// ---- Busy state and task slots -----------------------------------------------

std::uint64_t EditorState::beginBusy(const QString& label)
{
    // A result PNG made ahead of any request gives way (see m_resultPNGStop).
    if (m_resultPNGStop)
        m_resultPNGStop->store(true);
    const std::uint64_t token = m_busy.add(label);
    publishBusy();
    return token;
}

void EditorState::endBusy(std::uint64_t token)
{
    if (m_busy.remove(token))
        publishBusy();
}

void EditorState::relabelBusy(std::uint64_t token, const QString& label)
{
    m_busy.relabel(token, label);
    publishBusy();
}

void EditorState::publishBusy()
{
    // The label stays when the editor falls idle: views show it only while busy.
    if (m_busy.busy())
        assign(m_processingLabel, m_busy.label(), &EditorState::processingLabelChanged);
    assign(m_wasProcessing, m_busy.busy(), &EditorState::isProcessingChanged);
    settleStroke();
    // Outside the finishing task's own delivery.
    if (m_exportWaiting && !m_busy.busy())
        m_runner->after(std::chrono::milliseconds(0), this, [this] { startWaitingExport(); });
}

TaskSlot::Ticket EditorState::beginTask(TaskSlot& slot, const std::optional<QString>& label)
{
    // The new entry first: a job replaced by the next is never seen idle between the two.
    const std::uint64_t busy = label ? beginBusy(*label) : 0;
    endBusy(slot.cancel());
    return slot.replace(m_documentGeneration, busy);
}

// The memory a cutout, a render or a batch leaves behind (the network's
// session, released pixel buffers, free heap pages) is worth keeping while the
// user works and goes back to the system once the editor is left alone.
void EditorState::scheduleIdleRelease()
{
    if (m_busy.busy() || m_batch->isRunning()) {
        cancelTask(m_idleTask);
        return;
    }
    if (m_idleTask.running())
        return;
    const TaskSlot::Ticket ticket = beginTask(m_idleTask, std::nullopt);
    afterWait(m_idleTask, ticket, m_idleTask.debounce, [this, ticket] {
        m_idleTask.finish(ticket);
        m_runner->run(TaskPriority::utility, this, [engines = m_engines] {
            engines->releaseIdleMemory();
            return TaskRunner::Continuation();
        });
    });
}

// The network is needed for a cutout only, while the editing that follows can
// go on for minutes: its session goes 5 s after the last cutout began (its
// working memory went as the cutout landed). A cutout still running then (a
// slow machine, a large picture) keeps it 5 s longer, and again; the batch
// (whose next file would only load it again) keeps it until the editor falls
// idle.
void EditorState::scheduleNetworkRelease()
{
    const TaskSlot::Ticket ticket = beginTask(m_networkIdleTask, std::nullopt);
    afterWait(m_networkIdleTask, ticket, m_networkIdleTask.debounce, [this, ticket] {
        m_networkIdleTask.finish(ticket);
        if (m_cutoutTask.running()) {
            scheduleNetworkRelease();
            return;
        }
        if (m_batch->isRunning())
            return;
        m_runner->run(TaskPriority::utility, this, [engines = m_engines] {
            engines->releaseIsnet();
            return TaskRunner::Continuation();
        });
    });
}

void EditorState::cancelTask(TaskSlot& slot)
{
    endBusy(slot.cancel());
}

bool EditorState::isCurrent(const TaskSlot& slot, const TaskSlot::Ticket& ticket) const
{
    return slot.holds(ticket) &&
           (slot.scope == TaskSlot::Scope::editor || ticket.document == m_documentGeneration);
}

void EditorState::afterWait(TaskSlot& slot, TaskSlot::Ticket ticket, std::chrono::milliseconds wait,
                            std::function<void()> callback)
{
    m_runner->after(wait, this, [this, &slot, ticket, since = chainErrorCount(), callback = std::move(callback)] {
        if (isCurrent(slot, ticket))
            inChain(since, callback);
    });
}

void EditorState::cancelDocumentTasks(bool alsoBackdrops)
{
    for (TaskSlot* slot : {&m_cutoutTask, &m_flatTask, &m_probeTask, &m_renderTask, &m_compositeTask, &m_textTask,
                           &m_maskTask, &m_paintTask, &m_paletteTask, &m_exportTask, &m_resultPNGTask})
        cancelTask(*slot);
    if (alsoBackdrops) {
        cancelTask(m_backdropTask);
        cancelTask(m_saveBackgroundTask);
    }
}

} // namespace zephrin
