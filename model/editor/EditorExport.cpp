// EditorState: turning the result into a file, onto the clipboard or into a
// drag. Raster formats export the composite (else the cutout) through the
// matte engine; SVG traces the cutout itself, cropped and mirrored as the
// composite settings say (and the photo it reads ink from alike), and draws
// its page at the long edge as the pictures are written at it. Files are
// written atomically; a file prepared for sharing lives alone in a private
// folder of the user's. A saved file, a shared one and a copy each say so in
// a notice; a failure says why in lastError, which the next thing that
// succeeds takes away.
//
// The clipboard and a drag out of the canvas take the result's PNG, which is
// made on a worker a short while after each result is published (encoding a
// 12-megapixel result takes far longer than the GUI thread may stall): a
// copy or a drag then finds it ready, or waits for it without blocking.

#include "model/editor/EditorState.h"

#include "content/files/AtomicWrite.h"
#include "engine/composite/CanvasGeometry.h"
#include "engine/pixel/Crop.h"
#include "engine/pixel/Mirror.h"
#include "model/editor/ClipboardPicture.h"
#include "model/editor/EditorStateWork.h"
#include "model/editor/FeedbackTexts.h"
#include "model/engines/EditorEngines.h"
#include "output/service/OutputFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

#include <unistd.h>

namespace zephrin {

namespace {

// The image SVG export traces: the cutout inside the crop, mirrored when asked.
// The photo the tracer reads ink from goes the same way, so the two still
// match pixel for pixel.
Image traceSubject(const EditorEngines& engines, const Image& cutout, const CompositeSettings& settings)
{
    Image image = cutout;
    if (const auto crop = cropRect(settings.crop, image.extent())) {
        const Image inside = cropped(image, *crop);
        if (!inside.empty())
            image = inside;
    }
    if (settings.mirror)
        image = mirrored(image);
    return Image(engines.engine.context().render(image, image.extent()));
}

// A file name of one path component: what follows the last slash, without
// control characters or leading dots; "cutout" when nothing is left.
QString safeFileName(const QString& name)
{
    QString base = name.section(QLatin1Char('/'), -1).section(QLatin1Char('\\'), -1);
    base.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    while (base.startsWith(QLatin1Char('.')))
        base.remove(0, 1);
    base = base.trimmed();
    return base.isEmpty() ? QStringLiteral("cutout") : base;
}

} // namespace

void EditorState::exportImage()
{
    clearLastError();
    if (!m_cutout) {
        setLastError(QStringLiteral("Run Auto Subject first."));
        return;
    }
    // Asked for while an edit is still being rendered (Share from the menu
    // right after an undo): the export waits for it, or it would write the
    // picture from before the edit.
    m_exportWaiting.reset();
    if (isProcessing() && !m_exportTask.running()) {
        m_exportWaiting = m_documentGeneration;
        return;
    }
    const ExportFormat format = m_exportFormat;
    const int longEdge = m_exportLongEdge;

    if (format == ExportFormat::svg) {
        TraceOptions options;
        options.source = m_svgSource;
        options.inkThreshold = 0.5;
        options.traceLongEdge = std::clamp(longEdge, 256, 2048);
        options.pageLongEdge = longEdge;
        options.colors = m_svgColors;
        options.detail = m_svgDetail;
        options.alphaThreshold = 0.5;
        options.fileMaker = m_svgFileMaker;
        options.minimumArea = 6.0;
        options.silhouetteColor = "#000000";
        std::optional<Image> source;
        if (m_document)
            source = m_document->image.image();
        const TaskSlot::Ticket ticket = beginTask(m_exportTask, QStringLiteral("Tracing…"));
        runTask(
            m_exportTask, ticket, TaskPriority::userInitiated,
            [engines = m_engines, cutout = *m_cutout, settings = m_comp, source, options] {
                std::optional<Image> photo;
                if (source)
                    photo = traceSubject(*engines, *source, settings);
                return engines->traceSVG(traceSubject(*engines, cutout.image(), settings), photo, options);
            },
            [this](const Outcome<QByteArray>& traced) { deliverExport(traced, ExportFormat::svg); });
        return;
    }

    // The backdrop in force could not be made again: the composite at hand is
    // over the one before it, which is no longer the picture.
    if (m_compositeAwaitsBackdrop) {
        setLastError(QStringLiteral("Couldn't create the backdrop, so nothing was exported."));
        return;
    }
    const ImageBox image = m_composite ? *m_composite : *m_cutout;
    const TaskSlot::Ticket ticket = beginTask(m_exportTask, QStringLiteral("Exporting…"));
    runTask(
        m_exportTask, ticket, TaskPriority::userInitiated,
        [engines = m_engines, image, format, longEdge, quality = m_exportQuality,
         transparent = m_transparentBackground] {
            return engines->renderData(image.image(), format, longEdge, transparent, quality);
        },
        [this, format](const Outcome<QByteArray>& encoded) { deliverExport(encoded, format); });
}

void EditorState::startWaitingExport()
{
    if (!m_exportWaiting || isProcessing())
        return;
    const bool sameDocument = *m_exportWaiting == m_documentGeneration;
    m_exportWaiting.reset();
    if (sameDocument)
        exportImage();
}

void EditorState::deliverExport(const Outcome<QByteArray>& outcome, ExportFormat format)
{
    if (!outcome.ok()) {
        setLastError(outcome.error);
        return;
    }
    if (m_exportDestination != ExportDestination::share) {
        // The export sheet stays open under the save dialog: cancelling it
        // goes back to the sheet, and a failed save is said there; a saved
        // file closes it (saveExportFile).
        setExportFile(ExportFile{*outcome.value, format, m_exportFilename, std::nullopt});
        setShowFileExporter(true);
        return;
    }
    const auto url = writeShareFile(*outcome.value, format);
    if (!url) {
        setLastError(QStringLiteral("Couldn't prepare the file to share."));
        return;
    }
    setShareURL(*url);
    setShowExportSheet(false);
    // Named in full from the start: the file is to be sent on from where it
    // lies, and a file manager may never show it.
    const QString path = url->toLocalFile();
    showNotice(feedback::sharedNotice(path), path, path);
    m_runner->after(std::chrono::milliseconds(350), this, [this] { setShowShareSheet(true); });
}

void EditorState::saveExportFile(const QUrl& target, bool replace)
{
    if (!m_exportFile)
        return;
    if (!target.isLocalFile()) {
        setLastError(feedback::saveFailure(target.fileName(), QStringLiteral("only files on this computer can be saved")));
        return;
    }
    const TaskSlot::Ticket ticket = beginTask(m_saveTask, QStringLiteral("Saving…"));
    runTask(
        m_saveTask, ticket, TaskPriority::userInitiated,
        [path = target.toLocalFile(), data = m_exportFile->data, replace] {
            // The dialog has asked before replacing a file of that name.
            OutputFile file(path);
            if (!file.write(data))
                return file.errorString();
            switch (file.place(replace)) {
            case OutputFile::Placement::placed: return QString();
            case OutputFile::Placement::nameTaken: return QStringLiteral("a file of that name exists already");
            case OutputFile::Placement::failed: break;
            }
            return file.errorString();
        },
        [this, path = target.toLocalFile(), saved = m_exportFile->data,
         sheetStamp = m_exportFile->sheetStamp](const Outcome<QString>& failure) {
            // A failed save keeps the file, for another try in another folder.
            if (!failure.ok() || !failure.value->isEmpty()) {
                setLastError(failure.ok() ? feedback::saveFailure(path, *failure.value) : failure.error);
                return;
            }
            // The file is on disk: its bytes leave memory, unless a newer
            // export has taken their place meanwhile.
            if (m_exportFile && m_exportFile->data.isSharedWith(saved))
                setExportFile(std::nullopt);
            if (sheetStamp)
                m_sheetSavedStamp = *sheetStamp;
            // Saved: the export sheet has done its work (a failure keeps it open).
            setShowExportSheet(false);
            showNotice(feedback::savedNotice(path, QDir::homePath()), path);
            emit exportSaved(path);
        });
}

QString EditorState::shareFolder() const
{
    if (!m_shareFolderSetting.isEmpty())
        return m_shareFolderSetting;
    QString root = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (root.isEmpty())
        root = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return root + QStringLiteral("/zephrin-share");
}

std::optional<QUrl> EditorState::writeShareFile(const QByteArray& data, ExportFormat format)
{
    const QString folder = shareFolder();
    const QFileInfo info(folder);
    // A folder of our own, never a link or a folder somebody else left in its place.
    if (info.isSymLink() || (info.exists() && (!info.isDir() || info.ownerId() != ::getuid())))
        return std::nullopt;
    if (!QDir().mkpath(folder))
        return std::nullopt;
    if (!QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return std::nullopt;
    // Only the latest shared file stays.
    QDir dir(folder);
    for (const QFileInfo& old : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System))
        QFile::remove(old.absoluteFilePath());

    const QString path =
        dir.filePath(safeFileName(m_exportFilename) + QLatin1Char('.') + QString::fromLatin1(fileExtension(format)));
    if (!writeAtomically(path, data))
        return std::nullopt;
    return QUrl::fromLocalFile(path);
}

void EditorState::onResultChanged()
{
    if (m_resultPNG) {
        m_resultPNG.reset();
        emit resultPNGChanged();
    }
    // A copy still waiting for its PNG takes the newest result, made at once.
    encodeResultPNG(m_copyWhenReady);
}

void EditorState::prepareResultPNG()
{
    if (m_resultPNG)
        return;
    // An encode running ahead now has someone waiting for it: it no longer yields.
    m_resultPNGWanted = true;
    m_resultPNGStop.reset();
    if (!m_resultPNGEncoding)
        encodeResultPNG(true);
}

void EditorState::encodeResultPNG(bool now)
{
    m_resultPNGEncoding = false;
    const std::optional<ImageBox>& image = m_composite ? m_composite : m_cutout;
    if (!image) {
        // The document was closed or replaced: nothing is left to copy.
        m_copyWhenReady = false;
        m_resultPNGWanted = false;
        cancelTask(m_resultPNGTask);
        return;
    }
    const TaskSlot::Ticket ticket = beginTask(m_resultPNGTask, std::nullopt);
    afterWait(m_resultPNGTask, ticket, now ? std::chrono::milliseconds(0) : m_resultPNGTask.debounce,
              [this, ticket, now, box = *image] {
                  // Made ahead of any request, it waits until no work the user
                  // waits for runs.
                  if (!now && m_busy.busy()) {
                      encodeResultPNG(false);
                      return;
                  }
                  m_resultPNGEncoding = true;
                  // At 12 megapixels an encode takes some 200 ms and 40 MB:
                  // results published meanwhile wait, and only the newest is
                  // encoded when it ends, instead of one more encode running
                  // beside it for each.
                  if (m_resultPNGRunning)
                      m_resultPNGNext = ResultPNGJob{ticket, box, !now};
                  else
                      startResultPNG({ticket, box, !now});
              });
}

void EditorState::startResultPNG(ResultPNGJob job)
{
    m_resultPNGRunning = true;
    auto stop = job.ahead && !m_resultPNGWanted ? std::make_shared<std::atomic<bool>>(false) : nullptr;
    m_resultPNGStop = stop;
    m_runner->run(TaskPriority::userInitiated, this,
                  [this, ticket = job.ticket, engines = m_engines, image = std::move(job.image), stop] {
                      auto encoded = captureOutcome([&] { return engines->encodePNG(image.image(), stop.get()); });
                      return TaskRunner::Continuation([this, ticket, stop, encoded = std::move(encoded)] {
                          m_resultPNGRunning = false;
                          m_resultPNGStop.reset();
                          const bool current = isCurrent(m_resultPNGTask, ticket);
                          const bool yielded = stop && stop->load();
                          if (current && !yielded)
                              landResultPNG(encoded);
                          endBusy(m_resultPNGTask.finish(ticket));
                          if (current && yielded) {
                              // Made again once the work that stopped it is done;
                              // at once when someone asked for it meanwhile.
                              encodeResultPNG(m_resultPNGWanted || m_copyWhenReady);
                              return;
                          }
                          if (auto next = std::exchange(m_resultPNGNext, std::nullopt);
                              next && isCurrent(m_resultPNGTask, next->ticket))
                              startResultPNG(std::move(*next));
                      });
                  });
}

void EditorState::landResultPNG(const Outcome<std::optional<QByteArray>>& encoded)
{
    m_resultPNGEncoding = false;
    m_resultPNGWanted = false;
    if (!encoded.ok() || !*encoded.value) {
        if (std::exchange(m_copyWhenReady, false))
            setLastError(encoded.ok() ? QStringLiteral("The image couldn't be rendered.") : encoded.error);
        return;
    }
    m_resultPNG = **encoded.value;
    emit resultPNGChanged();
    if (std::exchange(m_copyWhenReady, false)) {
        clearLastError();
        deliverCopy();
    }
}

void EditorState::copyToPasteboard()
{
    if (!m_composite && !m_cutout)
        return;
    if (m_resultPNG) {
        clearLastError();
        deliverCopy();
        return;
    }
    m_copyWhenReady = true;
    prepareResultPNG();
}

void EditorState::deliverCopy()
{
    const std::optional<ImageBox>& image = m_composite ? m_composite : m_cutout;
    if (!image || !m_resultPNG)
        return;
    m_clipboard->setMimeData(new ClipboardPicture(*m_resultPNG, toQImage(image->image())));
    showNotice(QStringLiteral("Copied"));
}

} // namespace zephrin
