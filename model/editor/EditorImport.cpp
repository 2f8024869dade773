// EditorState: opening an image as the document or as the backdrop, and
// clearing the editor.
//
// The file is read on a worker (a 12-megapixel JPEG takes longer to decode
// than the GUI thread may stall), and the newest import of each target wins.
// Opening a document bumps the document generation and cancels its work, so
// nothing of the previous document lands afterwards; the user's composite,
// backdrop, matte, flat and export settings stay. A picture for the backdrop
// is one more backdrop choice: it takes the backdrop slot, so of it and the
// picks around it only the newest lands.

#include "model/editor/EditorState.h"

#include "model/editor/EditorStateWork.h"
#include "model/engines/EditorEngines.h"
#include "output/service/NativePath.h"

#include <QFileInfo>

#include <filesystem>

namespace zephrin {

void EditorState::importImage(const QUrl& url)
{
    importImage(url, ImportOptions{});
}

void EditorState::importImage(const QUrl& url, const ImportOptions& options)
{
    const ImportTarget target = m_importTarget;
    // Whatever happens, the next import opens a document.
    setImportTarget(ImportTarget::document);
    const bool background = target == ImportTarget::background;
    TaskSlot& slot = background ? m_backdropTask : m_importTask;
    if (background)
        setBackdropID({});  // follows the choice at once, as a pick's does
    // Decoding a large HEIC or TIFF takes seconds: the editor shows it is at work.
    const TaskSlot::Ticket ticket = beginTask(slot, QStringLiteral("Opening image…"));
    // The network loads while the picture is decoded, so that the cutout
    // after it waits for neither; a release still waiting from the last
    // cutout would let it go meanwhile (the new cutout waits again).
    if (!background) {
        if (autoSubjectOnImport())
            cancelTask(m_networkIdleTask);
        startWarmUp();
    }
    const QString name = options.name.isEmpty() ? url.fileName() : options.name;
    runTask(
        slot, ticket, TaskPriority::userInitiated, [url, name] { return ImageDocument::open(url, name); },
        [this, url, name, target, remove = options.removeAfterReading,
         intoView = options.intoView](const Outcome<ImageDocument>& loaded) {
            // A private copy goes once its picture is the document, or is known
            // to be unreadable; while an import that replaced this one still
            // runs, it stays, and so it does when this one is dropped.
            if (remove) {
                std::error_code ignored;
                std::filesystem::remove(nativePath(url), ignored);
            }
            if (!loaded.ok()) {
                // OpenFailure's sentence says why ("Couldn't open <name>: ...").
                if (intoView && m_batchMode)
                    showFailureNotice(loaded.error);
                else
                    setLastError(loaded.error);
                if (target == ImportTarget::background)
                    setBackdropID(m_shownBackdropID);
                return;
            }
            if (target == ImportTarget::background) {
                applyLoadedBackground(loaded.value->image.image(), QFileInfo(name).completeBaseName());
            } else {
                if (intoView)
                    setBatchMode(false);
                applyLoadedDocument(std::move(*loaded.value));
            }
        });
}

void EditorState::applyLoadedBackground(const Image& picture, const QString& name)
{
    const HistoryGroup step(*this);
    const ImageBox shown(picture);
    setBackground(BackdropPicture::of(shown));
    setBackdropID({});
    m_shownBackdropID.clear();

    const std::uint64_t choice = m_backdropTask.generation();
    const TaskSlot::Ticket ticket = beginTask(m_saveBackgroundTask, std::nullopt);
    awaitTask(m_saveBackgroundTask, ticket, m_engines->saveBackground(picture, name),
              [this, choice, shownGeneration = shown.generation()](const std::optional<QString>& id) {
                  if (id)
                      relabelBackground(shownGeneration, QStringLiteral("my:") + *id,
                                        m_backdropTask.generation() == choice);
              });

    CompositeSettings settings = m_comp;
    settings.backgroundMode = BackgroundMode::image;
    setComp(settings);
    recomposite(true);
}

void EditorState::applyLoadedDocument(ImageDocument document)
{
    ++m_documentGeneration;
    cancelDocumentTasks(false);

    const QString baseName = QFileInfo(document.name).completeBaseName();
    setDocument(std::move(document));
    if (m_tool == EditorTool::sheet)
        setTool(EditorTool::cutout);

    resetDocumentState();
    setZoom(1.0);
    setExportFilename(baseName + QStringLiteral("-cutout"));
    resetHistory();

    if (!autoSubjectOnImport())
        return;
    if (m_cutoutMethod == CutoutMethod::flat)
        runFlatColor(nullptr);
    else
        runAutoSubject();
}

// Loads IS-Net in the background when it will be needed (at the editor's
// start when Auto Subject runs on import, and at each import). A loaded
// network has its working memory mapped in again meanwhile, which went back
// after the last cutout: left to the cutout, that took some 90 ms after the
// decoding instead of beside it.
void EditorState::startWarmUp()
{
    if (m_matteModel != MatteModel::isnet || !m_engines->isnetAvailable())
        return;
    m_runner->run(TaskPriority::utility, this, [engines = m_engines, gate = m_warmUpGate] {
        const std::lock_guard lock(gate->lock);
        if (gate->stopped)
            return TaskRunner::Continuation();
        try {
            engines->loadIsnet();
        } catch (...) {
            // A model that cannot load shows up when a cutout runs.
        }
        return TaskRunner::Continuation();
    });
}

// What belongs to one document: its results, edits, selections and history.
void EditorState::resetDocumentState()
{
    setCutout(std::nullopt);
    setComposite(std::nullopt);
    m_compositeBase.reset();
    m_compositeAwaitsBackdrop = false;
    m_cutoutContentBounds.reset();
    m_cutoutWhiteFraction = 0;
    m_cutoutOpaque = false;
    setMatte(std::nullopt);
    m_matteOrigin = MatteOrigin::automatic;
    m_lineArtColors.reset();
    setSuggestFillHoles(false);
    setCutoutNote({});
    setLastError({});
    setCompareEnabled(false);
    setUndoStack({});
    setRedoStack({});
    setMaskOps({});
    setActiveOpCount(0);
    setEditLayers(std::nullopt);
    setPaintOps({});
    setActivePaintOpCount(0);
    setPaintLayers(std::nullopt);
    setLastGradientOpIndex(std::nullopt);
    setPendingSelection(std::nullopt);
    setLastSelection(std::nullopt);
    setLiveStroke({});
    setPanOffset({0, 0});
    setCanvasTool(CanvasTool::view);
    setCropDraft(std::nullopt);
    setGradientLine(std::nullopt);
    setSelectionPalette({});
    setIsLoadingPalette(false);
    setPickedColors({});
    setSelectedTextID({});
    m_sourceBitmap.reset();
}

void EditorState::clearDocument()
{
    ++m_documentGeneration;
    cancelDocumentTasks(true);
    cancelTask(m_importTask);

    setDocument(std::nullopt);
    resetDocumentState();
    setBackground(std::nullopt);
    m_shownBackdropID.clear();
    setActivePreset(std::nullopt);
    m_exportBeforePreset.reset();
    setSubjectMeasures({0, 0}, 0);
    setComp(defaultCompositeSettings());
    resetHistory();
}

} // namespace zephrin
