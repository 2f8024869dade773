#include "model/batch/BatchState.h"

#include "model/batch/BatchSaving.h"
#include "model/editor/EditorState.h"
#include "model/editor/ExportFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <set>

namespace zephrin {

// One run: the items it works through (the queue as it stood when its loop
// began), the settings it copied at its start, and how far it has come.
struct BatchState::Run {
    BatchProcessor::Settings settings;
    QList<QUuid> list;
    qsizetype next = 0;
    bool cancelled = false;
    QUuid inFlight;   // the item whose file is being cut; null between files
    int made = 0;     // results of this run that are done
};

namespace {

template <typename T>
bool store(T& member, const T& value)
{
    if (member == value)
        return false;
    member = value;
    return true;
}

// Queued items are compared by their file's clean absolute path, so that
// "/a/./b.jpg" and "/a/b.jpg" are one file.
QUrl normalised(const QUrl& url)
{
    return QUrl::fromLocalFile(QDir::cleanPath(QFileInfo(url.toLocalFile()).absoluteFilePath()));
}

bool isImportableName(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix.isEmpty())
        return false;
    return importableImagePatterns().contains(QStringLiteral("*.") + suffix);
}

// The name a skipped file is told by: its file name, else the whole address.
QString shownName(const QUrl& url)
{
    const QString name = url.fileName();
    return name.isEmpty() ? url.toDisplayString() : name;
}

// What add() says about the files it skipped: those already queued, and
// those that are no image file on this machine. The first name of each kind
// is shown when it is the only one.
QString skippedNote(const QStringList& queued, const QStringList& refused)
{
    QStringList parts;
    if (queued.size() == 1)
        parts << QStringLiteral("“%1” is already in the queue.").arg(queued.front());
    else if (queued.size() > 1)
        parts << QStringLiteral("%1 files are already in the queue.").arg(queued.size());
    if (refused.size() == 1)
        parts << QStringLiteral("“%1” wasn't added: only image files on this computer can be.").arg(refused.front());
    else if (refused.size() > 1)
        parts << QStringLiteral("%1 files weren't added: only image files on this computer can be.")
                     .arg(refused.size());
    return parts.join(u' ');
}

// "PNG at 2400 px", or "the Etsy listing preset" (whose own format and size
// the preset's summary gives).
QString outputText(const BatchProcessor::Settings& settings)
{
    if (settings.preset)
        return QStringLiteral("the %1 preset").arg(rawValue(*settings.preset));
    return QStringLiteral("%1 at %2 px").arg(rawValue(settings.format)).arg(settings.longEdge);
}

bool isDone(const BatchItem& item)
{
    return item.status.kind == BatchItemStatus::Kind::done;
}

} // namespace

BatchState::BatchState(std::shared_ptr<TaskRunner> runner, std::shared_ptr<BatchEngines> engines, QObject* parent)
    : QObject(parent),
      m_runner(std::move(runner)),
      m_engines(engines ? std::move(engines) : std::make_shared<BatchEngines>())
{
    m_list = new BatchItemList(*this, this);
}

BatchState::~BatchState() = default;

// ---- Properties -------------------------------------------------------------

void BatchState::setUsePreset(bool value)
{
    if (store(m_usePreset, value)) {
        emit usePresetChanged();
        updateOutputNote();
    }
}

void BatchState::setPreset(ListingPreset value)
{
    if (store(m_preset, value)) {
        emit presetChanged();
        updateOutputNote();
    }
}

void BatchState::setFormat(ExportFormat value)
{
    if (store(m_format, value)) {
        emit formatChanged();
        updateOutputNote();
    }
}

void BatchState::setLongEdge(int value)
{
    if (store(m_longEdge, value)) {
        emit longEdgeChanged();
        updateOutputNote();
    }
}

void BatchState::setLastError(const QString& value)
{
    if (store(m_lastError, value))
        emit lastErrorChanged();
}

void BatchState::setShowImporter(bool value)
{
    if (store(m_showImporter, value))
        emit showImporterChanged();
}

void BatchState::setShowFolderChooser(bool value)
{
    if (store(m_showFolderChooser, value))
        emit showFolderChooserChanged();
}

void BatchState::setIsRunning(bool value)
{
    if (store(m_isRunning, value))
        emit isRunningChanged();
}

void BatchState::setDidFinish(bool value)
{
    if (store(m_didFinish, value))
        emit didFinishChanged();
}

void BatchState::setProcessingIndex(int value)
{
    if (store(m_processingIndex, value)) {
        emit processingIndexChanged();
        emit progressChanged();
    }
}

void BatchState::setIsSaving(bool value)
{
    if (store(m_isSaving, value))
        emit isSavingChanged();
}

void BatchState::setAddNote(const QString& value)
{
    if (store(m_addNote, value))
        emit addNoteChanged();
}

void BatchState::updateOutputNote()
{
    QString note;
    const BatchProcessor::Settings now = jobSettings();
    if (m_runSettings && hasResults() && !BatchProcessor::makeSameFile(now, *m_runSettings))
        note = QStringLiteral("The results were made with %1; Output is now %2. Run Again to remake them, or "
                              "Export All to save them as made.")
                   .arg(outputText(*m_runSettings), outputText(now));
    if (store(m_outputNote, note))
        emit outputNoteChanged();
}

QString BatchState::qmlPreset() const { return rawValue(m_preset); }

void BatchState::setQmlPreset(const QString& value)
{
    if (const auto preset = fromRaw<ListingPreset>(value))
        setPreset(*preset);
}

QString BatchState::qmlFormat() const { return rawValue(m_format); }

void BatchState::setQmlFormat(const QString& value)
{
    if (const auto format = fromRaw<ExportFormat>(value))
        setFormat(*format);
}

// ---- Items ------------------------------------------------------------------

const BatchItem* BatchState::item(const QUuid& id) const
{
    const int row = rowOf(id);
    return row < 0 ? nullptr : &m_items[std::size_t(row)];
}

int BatchState::rowOf(const QUuid& id) const
{
    const auto it = std::find_if(m_items.begin(), m_items.end(), [&](const BatchItem& item) { return item.id == id; });
    return it == m_items.end() ? -1 : int(it - m_items.begin());
}

void BatchState::updateItem(const QUuid& id, const std::function<void(BatchItem&)>& change)
{
    const int row = rowOf(id);
    if (row < 0)
        return;
    change(m_items[std::size_t(row)]);
    m_list->changed(row);
    emit progressChanged();
    updateOutputNote();
}

int BatchState::doneCount() const
{
    return int(std::count_if(m_items.begin(), m_items.end(), isDone));
}

int BatchState::unsavedResultCount() const
{
    return int(std::count_if(m_items.begin(), m_items.end(),
                             [](const BatchItem& item) { return isDone(item) && !item.outputSaved; }));
}

int BatchState::failedCount() const
{
    return int(std::count_if(m_items.begin(), m_items.end(),
                             [](const BatchItem& item) { return item.status.kind == BatchItemStatus::Kind::failed; }));
}

bool BatchState::hasResults() const
{
    return std::any_of(m_items.begin(), m_items.end(), isDone);
}

QString BatchState::currentFileName() const
{
    if (m_processingIndex < 1 || m_processingIndex > total())
        return {};
    return m_items[std::size_t(m_processingIndex - 1)].fileName();
}

BatchProcessor::Settings BatchState::jobSettings() const
{
    BatchProcessor::Settings settings;
    settings.model = m_model;
    settings.matte = m_matte;
    if (m_usePreset)
        settings.preset = m_preset;
    settings.format = m_format;
    settings.longEdge = m_longEdge;
    settings.svgSource = m_svgSource;
    settings.svgDetail = m_svgDetail;
    return settings;
}

void BatchState::add(const QList<QUrl>& urls)
{
    std::set<QUrl> seen;
    for (const BatchItem& item : m_items)
        seen.insert(item.url);

    std::vector<BatchItem> accepted;
    QStringList queued, refused;
    for (const QUrl& given : urls) {
        // Only files on this machine: a remote URL has no file to read, and
        // the batch never fetches one.
        if (!given.isLocalFile() || given.toLocalFile().isEmpty()) {
            refused << shownName(given);
            continue;
        }
        const QUrl url = normalised(given);
        if (seen.count(url)) {
            queued << shownName(url);
            continue;
        }
        if (!isImportableName(url.toLocalFile())) {
            refused << shownName(url);
            continue;
        }
        seen.insert(url);
        BatchItem item;
        item.id = QUuid::createUuid();
        item.url = url;
        accepted.push_back(std::move(item));
    }
    setAddNote(skippedNote(queued, refused));
    if (accepted.empty())
        return;

    const int first = total();
    m_list->aboutToAppend(first, first + int(accepted.size()) - 1);
    m_items.insert(m_items.end(), accepted.begin(), accepted.end());
    m_list->appended();
    emit progressChanged();
    for (const BatchItem& item : accepted)
        makePreview(item);
    setDidFinish(false);
}

void BatchState::makePreview(const BatchItem& item)
{
    const QString path = item.url.toLocalFile();
    const QUuid id = item.id;
    m_runner->run(TaskPriority::utility, this, [engines = m_engines, path, id, this]() -> TaskRunner::Continuation {
        QImage preview = engines->sourcePreview(path, kPreviewPixels);
        return [this, id, preview = std::move(preview)] {
            updateItem(id, [&](BatchItem& item) { item.sourceThumbnail = preview; });
        };
    });
}

// ---- Running ----------------------------------------------------------------

void BatchState::start(QObject* editor)
{
    if (const auto* state = qobject_cast<const EditorState*>(editor))
        start(*state);
}

void BatchState::start(const EditorState& editor)
{
    if (m_isRunning)
        return;
    m_matte = editor.matteSettings();
    m_model = editor.matteModel();
    m_svgSource = editor.svgSource();
    m_svgDetail = editor.svgDetail();

    auto run = std::make_shared<Run>();
    run->settings = jobSettings();
    m_runSettings = run->settings;
    setAddNote({});

    // Failed and interrupted items are tried again, and so are results made
    // with other settings; the file a cancelled run still works on keeps its
    // state until that run is done with it.
    const QUuid inFlight = m_run ? m_run->inFlight : QUuid();
    QList<QUuid> retried;
    for (const BatchItem& item : m_items) {
        const auto kind = item.status.kind;
        const bool stale =
            kind == BatchItemStatus::Kind::done && !BatchProcessor::makeSameFile(item.outputSettings, run->settings);
        if (item.id != inFlight &&
            (kind == BatchItemStatus::Kind::processing || kind == BatchItemStatus::Kind::failed || stale))
            retried.append(item.id);
    }
    for (const QUuid& id : retried)
        updateItem(id, [](BatchItem& changed) { changed.status = {}; });

    setDidFinish(false);
    setLastError({});
    setIsRunning(true);
    updateOutputNote();

    if (m_run)
        m_waitingRun = std::move(run);   // begins when the cancelled run has finished its file
    else
        beginRun(std::move(run));
}

void BatchState::beginRun(std::shared_ptr<Run> run)
{
    for (const BatchItem& item : m_items)
        run->list.append(item.id);
    m_run = std::move(run);
    processNext();
}

void BatchState::processNext()
{
    Run& run = *m_run;
    while (!run.cancelled && run.next < run.list.size()) {
        const qsizetype position = run.next++;
        const QUuid id = run.list[position];
        const BatchItem* item = this->item(id);
        if (!item || (isDone(*item) && BatchProcessor::makeSameFile(item->outputSettings, run.settings)))
            continue;
        const QString path = item->url.toLocalFile();

        run.inFlight = id;
        setProcessingIndex(int(position) + 1);
        updateItem(id, [](BatchItem& changed) { changed.status = {BatchItemStatus::Kind::processing, {}}; });
        m_runner->run(TaskPriority::userInitiated, this,
                      [engines = m_engines, path, settings = run.settings, id, this]() -> TaskRunner::Continuation {
                          auto outcome = captureOutcome([&] { return engines->process(path, settings); });
                          // The preview is read here too, off the GUI thread.
                          QImage preview;
                          if (outcome.ok())
                              preview = engines->resultPreview(outcome.value->data, kPreviewPixels);
                          return [this, id, settings, outcome = std::move(outcome),
                                  preview = std::move(preview)]() mutable {
                              finishFile(id, settings, std::move(outcome), std::move(preview));
                          };
                      });
        return;
    }
    endRun();
}

void BatchState::finishFile(const QUuid& id, const BatchProcessor::Settings& settings,
                            Outcome<BatchProcessor::Output> outcome, QImage preview)
{
    // A result of a cancelled run that lands after a newer run started with
    // other settings is kept, but the item waits in the queue for the newer
    // run's result.
    const bool current = m_runSettings && BatchProcessor::makeSameFile(settings, *m_runSettings);
    if (outcome.ok() && current && m_run)
        ++m_run->made;
    updateItem(id, [&](BatchItem& item) {
        if (outcome.ok()) {
            item.output = std::move(outcome.value);
            item.outputSettings = settings;
            item.outputSaved = false;
            item.resultThumbnail = std::move(preview);
            item.status = {current ? BatchItemStatus::Kind::done : BatchItemStatus::Kind::queued, {}};
        } else {
            // The output of an earlier run, if any, stays; the item is not done.
            item.status = BatchItemStatus::failed(outcome.error);
        }
    });
    if (!m_run)
        return;
    m_run->inFlight = {};
    processNext();
}

void BatchState::endRun()
{
    if (std::exchange(m_run, nullptr)->made > 0)
        emit runSucceeded();
    if (m_waitingRun) {
        beginRun(std::exchange(m_waitingRun, nullptr));
        return;
    }
    setIsRunning(false);
    setDidFinish(true);
}

void BatchState::cancel()
{
    if (m_run)
        m_run->cancelled = true;
    m_waitingRun.reset();
    setIsRunning(false);
}

void BatchState::clear()
{
    cancel();
    m_list->aboutToReset();
    m_items.clear();
    m_list->reset();
    emit progressChanged();
    setDidFinish(false);
    setLastError({});
    setAddNote({});
    updateOutputNote();
}

// ---- Saving -----------------------------------------------------------------

void BatchState::saveAll(const QUrl& folder)
{
    if (m_isSaving)
        return;
    // Exactly what the grid shows as done: the newest run's results.
    std::vector<BatchResultFile> files;
    std::vector<QUuid> ids;
    for (const BatchItem& item : m_items)
        if (isDone(item) && item.output) {
            files.push_back({item.baseName(), *item.output});
            ids.push_back(item.id);
        }
    if (files.empty() || !folder.isLocalFile()) {
        finishSave({0, int(files.size()), {}, {}, {}}, {}, folder.toLocalFile());
        return;
    }

    setIsSaving(true);
    m_runner->run(TaskPriority::userInitiated, this,
                  [path = folder.toLocalFile(), files = std::move(files), ids = std::move(ids),
                   this]() -> TaskRunner::Continuation {
                      BatchSaveReport report = saveBatchResults(path, files);
                      // Which result each written file holds, for the items still holding it.
                      std::vector<SavedResult> saved;
                      for (const std::size_t index : report.writtenFiles)
                          saved.push_back({ids[index], files[index].output.data});
                      return [this, report = std::move(report), saved = std::move(saved), path] {
                          setIsSaving(false);
                          finishSave(report, saved, path);
                      };
                  });
}

// What the panel says after a save: nothing when every file was written;
// how many were when only some were, with why the last one failed; when none
// was, that nothing was exported and why. Each item whose result was written
// (and is still the one it holds) is in a file from now on.
void BatchState::finishSave(const BatchSaveReport& report, const std::vector<SavedResult>& saved,
                            const QString& folder)
{
    for (const SavedResult& result : saved)
        updateItem(result.id, [&](BatchItem& item) {
            if (item.output && item.output->data.isSharedWith(result.data))
                item.outputSaved = true;
        });
    const QString cause = report.lastFailure.isEmpty() ? QString() : u' ' + report.lastFailure;
    QString message;
    if (report.written == 0)
        message = QStringLiteral("Nothing was exported.") + cause;
    else if (report.written < report.attempted)
        message = QStringLiteral("Exported %1 of %2.").arg(report.written).arg(report.attempted) + cause;
    setLastError(message);
    emit saveFinished(report.written, report.attempted, folder, report.renamed);
}

} // namespace zephrin
