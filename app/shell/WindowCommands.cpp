#include "app/shell/WindowCommands.h"

#include "controls/ValueText.h"
#include "app/shell/DiscardedWork.h"
#include "app/shell/IncomingFiles.h"
#include "app/shell/ZoomSteps.h"
#include "model/editor/EditorState.h"
#include "model/editor/FeedbackTexts.h"

#include <QFileInfo>
#include <QLoggingCategory>

#include <array>
#include <QMetaObject>

namespace zephrin {

namespace {

Q_LOGGING_CATEGORY(lcCommands, "zephrin.commands")

} // namespace

WindowCommands::WindowCommands(EditorState& editor, QObject* parent) : QObject(parent), m_editor(editor)
{
    for (auto signal : {&EditorState::documentChanged, &EditorState::cutoutChanged, &EditorState::isProcessingChanged,
                        &EditorState::compChanged, &EditorState::undoStackChanged, &EditorState::redoStackChanged,
                        &EditorState::toolChanged, &EditorState::sheetExportableChanged,
                        &EditorState::batchModeChanged})
        connect(&editor, signal, this, &WindowCommands::refreshStates);
    connect(&editor, &EditorState::compareEnabledChanged, this, &WindowCommands::compareTitleChanged);
    for (auto signal : {&EditorState::documentChanged, &EditorState::compositeChanged})
        connect(&editor, signal, this, &WindowCommands::statusChanged);
    for (auto signal : {&EditorState::documentChanged, &EditorState::cutoutChanged, &EditorState::compositeChanged})
        connect(&editor, signal, this, &WindowCommands::displayImageChanged);
    connect(&editor, &EditorState::showShareSheetChanged, this, &WindowCommands::revealShared);
    m_states = commandStates(facts());
    m_sheetMode = facts().sheetMode;
}

EditorFacts WindowCommands::facts() const
{
    EditorFacts facts;
    facts.hasDocument = m_editor.document().has_value();
    facts.hasCutout = m_editor.cutout().has_value();
    facts.isProcessing = m_editor.isProcessing();
    facts.compIsDefault = m_editor.comp() == EditorState::defaultCompositeSettings();
    facts.hasUndo = m_editor.undoCount() > 0;
    facts.hasRedo = m_editor.redoCount() > 0;
    facts.sheetMode = m_editor.tool() == EditorTool::sheet;
    facts.hasSheetRender = m_editor.sheetExportable();
    facts.batchMode = m_editor.batchMode();
    return facts;
}

void WindowCommands::refreshStates()
{
    const EditorFacts now = facts();
    const CommandStates states = commandStates(now);
    if (states == m_states && now.sheetMode == m_sheetMode)
        return;
    m_states = states;
    m_sheetMode = now.sheetMode;
    emit statesChanged();
}

QString WindowCommands::compareTitle() const
{
    return m_editor.compareEnabled() ? QStringLiteral("Hide Compare") : QStringLiteral("Show Compare");
}

QString WindowCommands::documentName() const
{
    const auto& document = m_editor.document();
    return document ? document->name : QStringLiteral("No image");
}

QString WindowCommands::documentSizeText() const
{
    const auto& document = m_editor.document();
    return document ? valuetext::dimensions(document->width(), document->height()) : QStringLiteral("—");
}

QString WindowCommands::compositeSizeText() const
{
    if (!m_editor.composite())
        return {};
    const QString size = m_editor.compositeSizeLabel();
    return size == documentSizeText() ? QString() : QStringLiteral("→ ") + size;
}

QString WindowCommands::fileSizeText() const
{
    const auto& document = m_editor.document();
    return document ? valuetext::fileSize(document->fileSize) : QStringLiteral("—");
}

QImage WindowCommands::displayImage() const
{
    if (m_editor.composite())
        return m_editor.compositeImage();
    if (m_editor.cutout())
        return m_editor.cutoutImage();
    return m_editor.documentImage();
}

QVariantList WindowCommands::tools() const
{
    static const std::array<std::pair<const char*, const char*>, 7> rows{{
        {"Cutout", "square.dashed"},
        {"Background", "photo"},
        {"Effects", "sparkles"},
        {"Adjust", "slider.horizontal.3"},
        {"Text", "textformat"},
        {"Resize", "arrow.up.left.and.arrow.down.right"},
        {"Sheet", "rectangle.grid.2x2"},
    }};
    QVariantList list;
    std::size_t index = 0;
    for (EditorTool tool : allCases<EditorTool>()) {
        const auto& [label, symbol] = rows.at(index++);
        list << QVariantMap{{QStringLiteral("tool"), rawValue(tool)},
                            {QStringLiteral("label"), QString::fromLatin1(label)},
                            {QStringLiteral("symbol"), QString::fromLatin1(symbol)}};
    }
    return list;
}

QVariantMap WindowCommands::toolInfo(const QString& tool) const
{
    for (const QVariant& row : tools())
        if (row.toMap().value(QStringLiteral("tool")).toString() == tool)
            return row.toMap();
    return {};
}

QStringList WindowCommands::exportFormats() const
{
    QStringList labels;
    for (ExportFormat format : allCases<ExportFormat>())
        labels << rawValue(format);
    return labels;
}

void WindowCommands::importDocument()
{
    m_editor.setImportTarget(ImportTarget::document);
    m_editor.setShowImporter(true);
}

void WindowCommands::importerClosed(const QUrl& file)
{
    m_editor.setShowImporter(false);
    if (file.isValid() && !file.isEmpty()) {
        if (m_editor.importTarget() == ImportTarget::document)
            openDocumentFile(m_editor, file);
        else
            m_editor.importImage(file);
    }
    m_editor.setImportTarget(ImportTarget::document);
}

void WindowCommands::importMultiple()
{
    m_editor.setBatchMode(true);
    m_editor.batch()->setShowImporter(true);
}

void WindowCommands::openFile(const QUrl& file)
{
    openDocumentFile(m_editor, file);
}

void WindowCommands::openFiles(const QList<QUrl>& files)
{
    if (files.size() == 1) {
        openFile(files.first());
        return;
    }
    if (files.isEmpty())
        return;
    m_editor.setBatchMode(true);
    m_editor.batch()->add(files);
}

void WindowCommands::openBatchItem(const QUrl& file)
{
    m_editor.setBatchMode(false);
    openFile(file);
}

void WindowCommands::openExportSheet()
{
    m_editor.setShowExportSheet(true);
}

void WindowCommands::exportAs(const QString& format)
{
    if (const auto value = fromRaw<ExportFormat>(format))
        m_editor.setExportFormat(*value);
    m_editor.setShowExportSheet(true);
}

void WindowCommands::exportButtonPressed()
{
    if (!m_states.exportButtonEnabled)
        return;
    if (m_sheetMode)
        exportSheetPNG();
    else
        openExportSheet();
}

void WindowCommands::exportSheetPNG()
{
    // The sticker-sheet exports are the model's; called by name so the
    // window needs nothing from the sheet's headers.
    if (!QMetaObject::invokeMethod(&m_editor, "exportStickerSheetPNG"))
        qCWarning(lcCommands) << "the editor offers no sticker-sheet PNG export";
}

void WindowCommands::exportSheetCutSVG()
{
    if (!QMetaObject::invokeMethod(&m_editor, "exportStickerSheetCutSVG"))
        qCWarning(lcCommands) << "the editor offers no cut-line SVG export";
}

void WindowCommands::exporterClosed(const QUrl& file, bool replace)
{
    m_editor.setShowFileExporter(false);
    if (file.isValid() && !file.isEmpty())
        m_editor.saveExportFile(file, replace);
}

void WindowCommands::share()
{
    if (!m_states.canExport)
        return;
    m_editor.setExportDestination(ExportDestination::share);
    m_editor.exportImage();
}

// The desktop has no share sheet: the prepared file is shown in the file
// manager, from where it can be sent on.
void WindowCommands::revealShared()
{
    if (!m_editor.showShareSheet())
        return;
    m_editor.setShowShareSheet(false);
    if (!m_editor.shareURL().isLocalFile())
        return;
    const QString path = m_editor.shareURL().toLocalFile();
    // The file is ready whether or not anything shows it.
    m_reveal.revealFile(path, offerPathWhenNotShown(&m_editor, feedback::sharedNotice(path), path,
                                                    NoticeKind::success));
}

void WindowCommands::showNoticeInFolder()
{
    const QString path = m_editor.noticeRevealPath();
    if (path.isEmpty())
        return;
    // Without a file manager nothing shows the file: the notice names it in
    // full and offers to copy its path.
    FileReveal::Done done = offerPathWhenNotShown(&m_editor, feedback::notShownNotice(path), path,
                                                  NoticeKind::failure);
    if (QFileInfo(path).isDir())
        m_reveal.openFolder(path, std::move(done));
    else
        m_reveal.revealFile(path, std::move(done));
}

void WindowCommands::clearImage()
{
    if (!m_states.canClear)
        return;
    const DocumentWork work = documentWork(m_editor);
    if (!work.lostByClearing()) {
        m_editor.clearDocument();
        return;
    }
    m_askingToClear = true;
    m_clearDetail = zephrin::clearDetail(work);
    emit questionsChanged();
}

void WindowCommands::confirmClear()
{
    if (!m_askingToClear)
        return;
    cancelClear();
    m_editor.clearDocument();
}

void WindowCommands::cancelClear()
{
    if (!m_askingToClear)
        return;
    m_askingToClear = false;
    emit questionsChanged();
}

bool WindowCommands::askToQuit()
{
    const DocumentWork work = documentWork(m_editor);
    const UnsavedResults results = unsavedResults(m_editor);
    if (!work.lostByClearing() && !results.any())
        return false;
    m_askingToQuit = true;
    m_quitDetail = zephrin::quitDetail(work, results);
    emit questionsChanged();
    return true;
}

void WindowCommands::confirmQuit()
{
    if (!m_askingToQuit)
        return;
    cancelQuit();
    emit quitConfirmed();
}

void WindowCommands::cancelQuit()
{
    if (!m_askingToQuit)
        return;
    m_askingToQuit = false;
    emit questionsChanged();
}

void WindowCommands::clearBatch()
{
    UnsavedResults results = unsavedResults(m_editor);
    results.sheet = false;
    if (!results.any()) {
        m_editor.batch()->clear();
        return;
    }
    m_clearingResults = ClearedResults::batch;
    m_clearResultsDetail = zephrin::clearResultsDetail(results);
    emit questionsChanged();
}

void WindowCommands::clearSheet()
{
    UnsavedResults results = unsavedResults(m_editor);
    results.batchResults = 0;
    results.sharedImages = 0;
    if (!results.any()) {
        m_editor.clearStickerSheet();
        return;
    }
    m_clearingResults = ClearedResults::sheet;
    m_clearResultsDetail = zephrin::clearResultsDetail(results);
    emit questionsChanged();
}

void WindowCommands::confirmClearResults()
{
    const ClearedResults cleared = m_clearingResults;
    cancelClearResults();
    if (cleared == ClearedResults::batch)
        m_editor.batch()->clear();
    else if (cleared == ClearedResults::sheet)
        m_editor.clearStickerSheet();
}

void WindowCommands::cancelClearResults()
{
    if (m_clearingResults == ClearedResults::none)
        return;
    m_clearingResults = ClearedResults::none;
    emit questionsChanged();
}

void WindowCommands::runCutout()
{
    if (!m_states.canRunCutout)
        return;
    if (m_editor.cutoutMethod() == CutoutMethod::flat)
        m_editor.runFlatColor(nullptr);
    else
        m_editor.runAutoSubject();
}

void WindowCommands::resetToPlainCutout()
{
    if (!m_states.canReset)
        return;
    m_editor.resetToPlainCutout();
}

void WindowCommands::undo()
{
    if (m_states.canUndo)
        m_editor.undo();
}

void WindowCommands::redo()
{
    if (m_states.canRedo)
        m_editor.redo();
}

void WindowCommands::copyResult()
{
    if (m_states.canCopyResult)
        m_editor.copyToPasteboard();
}

bool WindowCommands::isTextItem(const QObject* item)
{
    return item && (item->inherits("QQuickTextInput") || item->inherits("QQuickTextEdit"));
}

void WindowCommands::copy(QObject* focusItem)
{
    if (isTextItem(focusItem))
        QMetaObject::invokeMethod(focusItem, "copy");
    else
        copyResult();
}

void WindowCommands::sendToFocus(QObject* focusItem, const QString& action)
{
    if (isTextItem(focusItem))
        QMetaObject::invokeMethod(focusItem, action.toLatin1().constData());
}

void WindowCommands::zoomIn()
{
    if (!m_states.canZoom)
        return;
    if (const auto level = zoomsteps::stepUp(m_editor.zoom()))
        m_editor.setZoom(*level);
}

void WindowCommands::zoomOut()
{
    if (!m_states.canZoom)
        return;
    if (const auto level = zoomsteps::stepDown(m_editor.zoom()))
        m_editor.setZoom(*level);
}

void WindowCommands::zoomToFit()
{
    // The canvas fits the image at zoom 1, so "Actual Size" and "Zoom to Fit"
    // are the same view.
    if (m_states.canZoom)
        m_editor.zoomToFit();
}

void WindowCommands::toggleCompare()
{
    if (m_states.canCompare)
        m_editor.setCompareEnabled(!m_editor.compareEnabled());
}

void WindowCommands::selectTool(const QString& tool)
{
    const auto value = fromRaw<EditorTool>(tool);
    if (!value)
        return;
    m_editor.setBatchMode(false);
    m_editor.setTool(*value);
}

void WindowCommands::enterBatchMode()
{
    m_editor.setBatchMode(true);
}

} // namespace zephrin
