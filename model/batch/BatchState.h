#pragma once
// The batch queue the editor owns: image files cut out one after another with
// one set of job settings, each result kept in memory with a small preview,
// and all results written into a folder the user picks.
//
// The batch runs on engines of its own (BatchEngines), so a batch never waits
// for the editor's work nor the editor for the batch. A run handles one file
// at a time: the file's work runs on the user-initiated pool and the next file
// starts when its result is in. Cancelling stops a run before its next file,
// never in the middle of one; a run started meanwhile begins once the
// cancelled one has finished its file, so two files are never cut at once.
// Previews are made on the utility pool; writing the results runs on the
// user-initiated pool.
//
// Every result remembers the settings it was made with. An item is done only
// while its result is one of the newest run's: a run puts back in the queue
// every result made with other settings, a result of an older run that lands
// late stays queued, and a file that fails keeps its earlier result but is
// not done. Export All writes exactly the done items, as the grid shows them,
// so one export never mixes formats or sizes; when Output has changed since
// the newest run, outputNote says what the results are and what Output says.
//
// Properties notify only when a write changes them. The views read the queue
// through `items` (a list model) and the counts derived from it.

#include "engine/types/ExportFormat.h"
#include "engine/types/ListingPreset.h"
#include "engine/types/MatteModel.h"
#include "engine/types/MatteSettings.h"
#include "model/batch/BatchEngines.h"
#include "model/batch/BatchItem.h"
#include "model/batch/BatchItemList.h"
#include "model/batch/BatchSaving.h"
#include "model/tasks/Outcome.h"
#include "model/tasks/TaskRunner.h"
#include "output/batch/BatchProcessor.h"
#include "output/presets/ListingPresetSettings.h"
#include "output/vector/TraceSource.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace zephrin {

class EditorState;

class BatchState : public QObject {
    Q_OBJECT
    Q_PROPERTY(zephrin::BatchItemList* items READ items CONSTANT)
    Q_PROPERTY(bool isRunning READ isRunning NOTIFY isRunningChanged)
    Q_PROPERTY(bool didFinish READ didFinish NOTIFY didFinishChanged)
    Q_PROPERTY(int processingIndex READ processingIndex NOTIFY processingIndexChanged)
    Q_PROPERTY(bool usePreset READ usePreset WRITE setUsePreset NOTIFY usePresetChanged)
    Q_PROPERTY(QString preset READ qmlPreset WRITE setQmlPreset NOTIFY presetChanged)
    Q_PROPERTY(QString format READ qmlFormat WRITE setQmlFormat NOTIFY formatChanged)
    Q_PROPERTY(int longEdge READ longEdge WRITE setLongEdge NOTIFY longEdgeChanged)
    Q_PROPERTY(QString lastError READ lastError WRITE setLastError NOTIFY lastErrorChanged)
    Q_PROPERTY(bool isSaving READ isSaving NOTIFY isSavingChanged)
    // The window asks the batch's file importer to open (many files at once).
    Q_PROPERTY(bool showImporter READ showImporter WRITE setShowImporter NOTIFY showImporterChanged)
    // Export All asks the window for a folder; the answer goes to saveAll().
    Q_PROPERTY(bool showFolderChooser READ showFolderChooser WRITE setShowFolderChooser NOTIFY showFolderChooserChanged)
    // Derived from the items: their number, how many are done and how many
    // failed, whether any is done (what Export All writes), and the name of
    // the file the run is on (the item at processingIndex; empty when there is
    // none).
    Q_PROPERTY(int total READ total NOTIFY progressChanged)
    Q_PROPERTY(int doneCount READ doneCount NOTIFY progressChanged)
    Q_PROPERTY(int failedCount READ failedCount NOTIFY progressChanged)
    Q_PROPERTY(bool hasResults READ hasResults NOTIFY progressChanged)
    Q_PROPERTY(QString currentFileName READ currentFileName NOTIFY progressChanged)
    // What the last add() left out and why ("a.jpg is already in the queue.");
    // empty when it took every file. The next add, a start or clear empties it.
    Q_PROPERTY(QString addNote READ addNote NOTIFY addNoteChanged)
    // While items are done and Output (format, long edge, preset) would make
    // other files than the newest run did: what the results are and what
    // Output now says. Empty otherwise.
    Q_PROPERTY(QString outputNote READ outputNote NOTIFY outputNoteChanged)

public:
    // Previews are at most this many pixels on their long side.
    static constexpr int kPreviewPixels = 256;

    // A batch on the given runner; without engines, the real ones.
    explicit BatchState(std::shared_ptr<TaskRunner> runner, std::shared_ptr<BatchEngines> engines = {},
                        QObject* parent = nullptr);
    ~BatchState() override;

    BatchItemList* items() const { return m_list; }
    const std::vector<BatchItem>& itemsInOrder() const { return m_items; }
    const BatchItem* item(const QUuid& id) const;

    bool isRunning() const { return m_isRunning; }
    bool didFinish() const { return m_didFinish; }
    int processingIndex() const { return m_processingIndex; }
    bool usePreset() const { return m_usePreset; }
    void setUsePreset(bool value);
    ListingPreset preset() const { return m_preset; }
    void setPreset(ListingPreset value);
    ExportFormat format() const { return m_format; }
    void setFormat(ExportFormat value);
    int longEdge() const { return m_longEdge; }
    void setLongEdge(int value);
    QString lastError() const { return m_lastError; }
    void setLastError(const QString& value);
    bool isSaving() const { return m_isSaving; }
    bool showImporter() const { return m_showImporter; }
    void setShowImporter(bool value);
    bool showFolderChooser() const { return m_showFolderChooser; }
    void setShowFolderChooser(bool value);

    // The editor's settings the last start copied.
    const MatteSettings& matte() const { return m_matte; }
    MatteModel model() const { return m_model; }
    TraceSource svgSource() const { return m_svgSource; }
    double svgDetail() const { return m_svgDetail; }

    int total() const { return int(m_items.size()); }
    int doneCount() const;
    int failedCount() const;
    bool hasResults() const;
    QString currentFileName() const;
    QString addNote() const { return m_addNote; }
    QString outputNote() const { return m_outputNote; }

    // The settings a run starts with: the editor's matte, model and tracing
    // choices as the last start copied them, the preset when usePreset is on,
    // the format and the long edge.
    BatchProcessor::Settings jobSettings() const;

    // Queues every given file that is local, not queued yet (nor twice in
    // this call) and named as an importable image; starts making previews.
    // addNote says which files were skipped and why.
    Q_INVOKABLE void add(const QList<QUrl>& urls);
    // Starts a run with the editor's cutout settings; nothing while running.
    void start(const EditorState& editor);
    Q_INVOKABLE void start(QObject* editor);
    // Stops the run before its next file; the file in progress still ends.
    Q_INVOKABLE void cancel();
    // Cancels a run and empties the queue.
    Q_INVOKABLE void clear();
    // Writes the result of every done item into the folder, off the GUI
    // thread; when done, lastError says what did not go well (nothing
    // when everything was written) and saveFinished() fires with the folder's
    // path. Nothing while a save is running.
    Q_INVOKABLE void saveAll(const QUrl& folder);
    // The done items whose result no Export All has written into a file: they
    // exist only in memory.
    int unsavedResultCount() const;
    bool hasUnsavedResults() const { return unsavedResultCount() > 0; }

signals:
    void isRunningChanged();
    void didFinishChanged();
    void processingIndexChanged();
    void usePresetChanged();
    void presetChanged();
    void formatChanged();
    void longEdgeChanged();
    void lastErrorChanged();
    void isSavingChanged();
    void showImporterChanged();
    void showFolderChooserChanged();
    void progressChanged();
    void addNoteChanged();
    void outputNoteChanged();
    // `renamed`: the files written under a numbered name, as the first was taken.
    void saveFinished(int written, int attempted, const QString& folder, const QStringList& renamed);
    // A run ended with at least one result of its own done (a cancelled
    // run's files done before it stopped count too).
    void runSucceeded();

private:
    struct Run;

    QString qmlPreset() const;
    void setQmlPreset(const QString& value);
    QString qmlFormat() const;
    void setQmlFormat(const QString& value);

    void setIsRunning(bool value);
    void setDidFinish(bool value);
    void setProcessingIndex(int value);
    void setIsSaving(bool value);
    void setAddNote(const QString& value);
    void updateOutputNote();
    int rowOf(const QUuid& id) const;
    void updateItem(const QUuid& id, const std::function<void(BatchItem&)>& change);

    void makePreview(const BatchItem& item);
    void beginRun(std::shared_ptr<Run> run);
    void processNext();
    void finishFile(const QUuid& id, const BatchProcessor::Settings& settings, Outcome<BatchProcessor::Output> outcome,
                    QImage preview);
    void endRun();
    struct SavedResult {
        QUuid id;
        QByteArray data;   // the result written, to tell it from a newer one
    };
    void finishSave(const BatchSaveReport& report, const std::vector<SavedResult>& saved, const QString& folder);

    std::shared_ptr<TaskRunner> m_runner;
    std::shared_ptr<BatchEngines> m_engines;
    BatchItemList* m_list = nullptr;   // a child
    std::vector<BatchItem> m_items;

    bool m_isRunning = false;
    bool m_didFinish = false;
    int m_processingIndex = 0;
    bool m_usePreset = false;
    ListingPreset m_preset = ListingPreset::etsy;
    ExportFormat m_format = kPlainExport.format;
    int m_longEdge = kPlainExport.longEdge;
    MatteSettings m_matte;
    MatteModel m_model = MatteModel::apple;
    TraceSource m_svgSource = TraceSource::autoDetect;
    double m_svgDetail = 0.6;
    QString m_lastError;
    bool m_isSaving = false;
    bool m_showImporter = false;
    bool m_showFolderChooser = false;
    QString m_addNote;
    QString m_outputNote;
    // The settings of the newest run; none before the first.
    std::optional<BatchProcessor::Settings> m_runSettings;

    // The run whose loop is going (its current file may be in flight), and a
    // run started while a cancelled one finishes its file.
    std::shared_ptr<Run> m_run;
    std::shared_ptr<Run> m_waitingRun;
};

} // namespace zephrin
