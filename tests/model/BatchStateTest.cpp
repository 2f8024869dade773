// The batch queue over scripted engines and the manual task runner: adding
// files, runs one file at a time, cancelling and overlapping runs, and
// writing the results into a folder.

#include "EditorFixture.h"
#include "model/batch/BatchSaving.h"
#include "model/batch/BatchState.h"
#include "output/service/CutoutService.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <mutex>

namespace zephrin::testing {

namespace {

// Cuts nothing: a file whose name holds "broken", or one named in `failing`,
// fails as unreadable; any other gives a small file naming its source, with
// the extension of the settings' format. Counts calls and how many run at
// once, and keeps the settings of the last call.
class ScriptedBatchEngines final : public BatchEngines {
public:
    BatchProcessor::Output process(const QString& path, const BatchProcessor::Settings& settings) const override
    {
        const int running = ++m_running;
        m_mostAtOnce = std::max(m_mostAtOnce.load(), running);
        ++calls;
        {
            std::lock_guard lock(m_mutex);
            m_lastSettings = settings;
        }
        --m_running;
        if (path.contains(QStringLiteral("broken")) || failing(QFileInfo(path).fileName()))
            throw CutoutService::Failure(CutoutService::FailureKind::unreadable);
        return {"PNG of " + path.toUtf8(),
                QString::fromLatin1(fileExtension(BatchProcessor::fileSettings(settings).format))};
    }
    QImage sourcePreview(const QString& path, int) const override
    {
        if (path.contains(QStringLiteral("broken")))
            return {};
        QImage preview(4, 3, QImage::Format_RGBA8888_Premultiplied);
        preview.fill(Qt::blue);
        return preview;
    }
    QImage resultPreview(const QByteArray&, int) const override
    {
        QImage preview(2, 2, QImage::Format_RGBA8888_Premultiplied);
        preview.fill(Qt::green);
        return preview;
    }

    BatchProcessor::Settings lastSettings() const
    {
        std::lock_guard lock(m_mutex);
        return m_lastSettings;
    }
    int mostAtOnce() const { return m_mostAtOnce; }

    // From now on the named files fail (as a file changed on disk would).
    void setFailing(QStringList names)
    {
        std::lock_guard lock(m_mutex);
        m_failing = std::move(names);
    }

    mutable std::atomic<int> calls{0};

private:
    bool failing(const QString& name) const
    {
        std::lock_guard lock(m_mutex);
        return m_failing.contains(name);
    }

    QStringList m_failing;
    mutable std::atomic<int> m_running{0};
    mutable std::atomic<int> m_mostAtOnce{0};
    mutable std::mutex m_mutex;
    mutable BatchProcessor::Settings m_lastSettings;
};

using Kind = BatchItemStatus::Kind;

class BatchTest : public EditorTest {
protected:
    BatchTest() { batch = std::make_unique<BatchState>(runner, batchEngines); }

    QUrl file(const QString& name) const { return QUrl::fromLocalFile(dir.filePath(name)); }

    // Queues the files and makes their previews.
    void queue(const QStringList& names)
    {
        QList<QUrl> urls;
        for (const QString& name : names)
            urls << file(name);
        batch->add(urls);
        runPreviews();
    }

    // Runs the waiting preview jobs (utility priority), leaving file jobs.
    void runPreviews()
    {
        for (std::size_t i = 0; i < runner->pendingJobs();) {
            if (runner->priorityOf(i) == TaskPriority::utility)
                runner->runJob(i);
            else
                ++i;
        }
    }

    std::vector<Kind> kinds() const
    {
        std::vector<Kind> result;
        for (const BatchItem& item : batch->itemsInOrder())
            result.push_back(item.status.kind);
        return result;
    }

    // Makes a run of the queue finish with everything done.
    void runToTheEnd()
    {
        batch->start(*editor);
        runner->settle();
        ASSERT_FALSE(batch->isRunning());
    }

    QString folder(const QString& name)
    {
        const QString path = dir.filePath(name);
        QDir().mkpath(path);
        return path;
    }

    static QByteArray contents(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    std::shared_ptr<ScriptedBatchEngines> batchEngines = std::make_shared<ScriptedBatchEngines>();
    std::unique_ptr<BatchState> batch;
};

} // namespace

// ---- Adding files -------------------------------------------------------------

TEST_F(BatchTest, QueuesEachLocalImageFileOnce)
{
    batch->add({file("a.jpg"), file("b.JPG"), file("notes.txt"), file("noextension"), file("a.jpg")});
    batch->add({file("a.jpg"), QUrl::fromLocalFile(dir.path() + QStringLiteral("/./b.JPG")),
                QUrl(QStringLiteral("https://example.invalid/c.png")), file("c.heic")});

    ASSERT_EQ(batch->total(), 3);
    EXPECT_EQ(batch->itemsInOrder()[0].fileName(), QStringLiteral("a.jpg"));
    EXPECT_EQ(batch->itemsInOrder()[1].fileName(), QStringLiteral("b.JPG"));
    EXPECT_EQ(batch->itemsInOrder()[2].fileName(), QStringLiteral("c.heic"));
    EXPECT_EQ(batch->items()->rowCount(), 3);
    EXPECT_NE(batch->itemsInOrder()[0].id, batch->itemsInOrder()[1].id);
}

// The files add() skips are named: those already queued, and those that are
// no image file on this computer. The next add that skips nothing, a start
// or a clear takes the note away.
TEST_F(BatchTest, SaysWhichFilesWereNotAdded)
{
    const QString notAdded = QStringLiteral("only image files on this computer can be.");
    batch->add({file("a.jpg"), file("notes.txt"), file("noextension")});
    EXPECT_EQ(batch->addNote(), QStringLiteral("2 files weren't added: ") + notAdded);
    batch->add({file("a.jpg"), file("b.png")});
    EXPECT_EQ(batch->addNote(), QStringLiteral("“a.jpg” is already in the queue."));
    batch->add({file("a.jpg"), QUrl::fromLocalFile(dir.path() + QStringLiteral("/./b.png")),
                QUrl(QStringLiteral("https://example.invalid/c.png"))});
    EXPECT_EQ(batch->addNote(),
              QStringLiteral("2 files are already in the queue. “c.png” wasn't added: ") + notAdded);

    batch->add({file("c.png")});
    EXPECT_TRUE(batch->addNote().isEmpty());
    batch->add({file("c.png")});
    runToTheEnd();
    EXPECT_TRUE(batch->addNote().isEmpty());
    batch->add({file("c.png")});
    batch->clear();
    EXPECT_TRUE(batch->addNote().isEmpty());
}

TEST_F(BatchTest, AddingNothingNewLeavesTheFinishedFlag)
{
    queue({"a.png"});
    runToTheEnd();
    ASSERT_TRUE(batch->didFinish());

    batch->add({file("a.png"), file("notes.txt")});
    EXPECT_TRUE(batch->didFinish());
    EXPECT_EQ(runner->pendingJobs(), 0u);

    batch->add({file("b.png")});
    EXPECT_FALSE(batch->didFinish());
}

TEST_F(BatchTest, MakesSourcePreviewsOffTheGuiThread)
{
    batch->add({file("a.png"), file("broken.png")});
    ASSERT_EQ(runner->pendingJobs(), 2u);
    EXPECT_EQ(runner->priorityOf(0), TaskPriority::utility);
    EXPECT_TRUE(batch->itemsInOrder()[0].sourceThumbnail.isNull());
    runner->settle();
    EXPECT_EQ(batch->itemsInOrder()[0].sourceThumbnail.size(), QSize(4, 3));
    EXPECT_TRUE(batch->itemsInOrder()[1].sourceThumbnail.isNull());  // none could be made; nothing reported
    EXPECT_TRUE(batch->lastError().isEmpty());
}

// ---- Running ------------------------------------------------------------------

TEST_F(BatchTest, CutsOneFileAtATimeInQueueOrder)
{
    queue({"a.png", "broken.png", "c.png"});
    editor->setFeather(3);
    editor->setMatteModel(MatteModel::isnet);
    batch->setUsePreset(true);
    batch->setPreset(ListingPreset::amazon);
    batch->start(*editor);

    EXPECT_TRUE(batch->isRunning());
    EXPECT_FALSE(batch->didFinish());
    for (int index = 1; index <= 3; ++index) {
        ASSERT_EQ(runner->pendingJobs(), 1u) << "one file at a time";
        EXPECT_EQ(runner->priorityOf(0), TaskPriority::userInitiated);
        EXPECT_EQ(batch->processingIndex(), index);
        EXPECT_EQ(batch->itemsInOrder()[std::size_t(index - 1)].status.kind, Kind::processing);
        if (index == 2)
            // A change now does not reach the run in progress.
            batch->setPreset(ListingPreset::etsy);
        runner->runJob();
    }
    EXPECT_FALSE(batch->isRunning());
    EXPECT_TRUE(batch->didFinish());
    EXPECT_EQ(kinds(), (std::vector{Kind::done, Kind::failed, Kind::done}));
    EXPECT_EQ(batch->itemsInOrder()[1].status.message,
              QString::fromUtf8(CutoutService::sentence(CutoutService::FailureKind::unreadable)));
    EXPECT_TRUE(batch->lastError().isEmpty());
    EXPECT_EQ(batch->doneCount(), 2);
    EXPECT_EQ(batch->failedCount(), 1);
    EXPECT_TRUE(batch->hasResults());
    EXPECT_EQ(batch->itemsInOrder()[0].resultThumbnail.size(), QSize(2, 2));

    const BatchProcessor::Settings used = batchEngines->lastSettings();
    EXPECT_EQ(used.matte.feather, 3);
    EXPECT_EQ(used.model, MatteModel::isnet);
    EXPECT_EQ(used.preset, ListingPreset::amazon);
}

TEST_F(BatchTest, ARerunCutsOnlyWhatIsNotDone)
{
    queue({"a.png", "broken.png"});
    runToTheEnd();
    const QByteArray first = batch->itemsInOrder()[0].output->data;
    const int calls = batchEngines->calls;

    queue({"c.png"});
    batch->start(*editor);
    EXPECT_EQ(batch->itemsInOrder()[1].status.kind, Kind::processing);  // the failed one, again
    EXPECT_EQ(batch->processingIndex(), 2);  // positions count the done items too
    runner->runJob();
    EXPECT_EQ(batch->processingIndex(), 3);
    runner->settle();
    EXPECT_EQ(batchEngines->calls, calls + 2);
    EXPECT_EQ(kinds(), (std::vector{Kind::done, Kind::failed, Kind::done}));
    EXPECT_EQ(batch->itemsInOrder()[0].output->data, first);
}

// A run with other output settings makes every result again, so one export
// never mixes formats or sizes; a result a cancelled run did not reach waits
// in the queue until a run makes it again.
TEST_F(BatchTest, ARerunWithOtherSettingsMakesEveryResultAgain)
{
    queue({"a.png", "b.png", "c.png"});
    runToTheEnd();
    EXPECT_TRUE(batch->hasUnsavedResults());
    const int calls = batchEngines->calls;

    batch->setFormat(ExportFormat::jpg);
    batch->setLongEdge(1080);
    batch->start(*editor);
    EXPECT_EQ(kinds(), (std::vector{Kind::processing, Kind::queued, Kind::queued}));
    runner->runJob();   // a.png at the new settings; b.png starts
    batch->cancel();    // b.png still ends, c.png is not reached
    runner->settle();
    EXPECT_EQ(batchEngines->calls, calls + 2);
    EXPECT_EQ(kinds(), (std::vector{Kind::done, Kind::done, Kind::queued}));
    EXPECT_EQ(batch->itemsInOrder()[1].outputSettings.format, ExportFormat::jpg);
    EXPECT_EQ(batch->itemsInOrder()[2].outputSettings.format, ExportFormat::png);

    runToTheEnd();
    EXPECT_EQ(batchEngines->calls, calls + 3);
    for (const BatchItem& item : batch->itemsInOrder())
        EXPECT_EQ(item.outputSettings.longEdge, 1080);
    const QString out = folder(QStringLiteral("out"));
    batch->saveAll(QUrl::fromLocalFile(out));
    runner->settle();
    EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), 3);
    EXPECT_TRUE(batch->lastError().isEmpty());
    EXPECT_FALSE(batch->hasUnsavedResults());
}

// Export All writes exactly the items the grid shows as done, which are the
// newest run's results; a tile that is not done shows its source even when an
// earlier run left a result; and while Output would make other files than the
// newest run did, the panel's note says so.
TEST_F(BatchTest, ExportAllWritesWhatTheGridShowsAsDone)
{
    struct Case {
        const char* name;
        std::function<void()> steps;   // on the queue a.png, b.png
        std::vector<Kind> kinds;
        std::vector<bool> showsResult;           // per tile
        QStringList written;                     // by Export All, which counts them
        QString outputNote;
    };
    const auto toJpg1080 = [&] {
        batch->setFormat(ExportFormat::jpg);
        batch->setLongEdge(1080);
    };
    const QString madeAsPng = QStringLiteral(
        "The results were made with PNG at 2400 px; Output is now JPG at 1080 px. Run Again to remake them, or "
        "Export All to save them as made.");
    const std::vector<Case> cases{
        {"a file that failed in the newest run keeps its older result out",
         [&] {
             runToTheEnd();
             batchEngines->setFailing({QStringLiteral("b.png")});
             toJpg1080();
             runToTheEnd();
             batch->setFormat(ExportFormat::png);   // back to the first run's settings
             batch->setLongEdge(2400);
             runToTheEnd();
         },
         {Kind::done, Kind::failed}, {true, false}, {"a-cutout.png"}, {}},
        {"Output changed without running again",
         [&] {
             runToTheEnd();
             toJpg1080();
         },
         {Kind::done, Kind::done}, {true, true}, {"a-cutout.png", "b-cutout.png"}, madeAsPng},
        {"a re-run cancelled after its first file",
         [&] {
             runToTheEnd();
             toJpg1080();
             batch->start(*editor);
             batch->cancel();
             runner->settle();
         },
         {Kind::done, Kind::queued}, {true, false}, {"a-cutout.jpg"}, {}},
        {"a cancelled run's file that lands after a run with other settings began",
         [&] {
             batch->start(*editor);
             runner->runWork();   // a.png is being cut as PNG…
             batch->cancel();
             toJpg1080();
             batch->start(*editor);   // …when a JPG run starts, then is cancelled too
             batch->cancel();
             runner->deliver();
         },
         {Kind::queued, Kind::queued}, {false, false}, {}, {}},
        {"a preset decides the size, so another long edge changes nothing",
         [&] {
             batch->setUsePreset(true);
             runToTheEnd();
             batch->setLongEdge(1080);
         },
         {Kind::done, Kind::done}, {true, true}, {"a-cutout.png", "b-cutout.png"}, {}},
        {"a preset chosen after the run",
         [&] {
             runToTheEnd();
             batch->setUsePreset(true);
             batch->setPreset(ListingPreset::amazon);
         },
         {Kind::done, Kind::done}, {true, true}, {"a-cutout.png", "b-cutout.png"},
         QStringLiteral("The results were made with PNG at 2400 px; Output is now the Amazon main image preset. "
                        "Run Again to remake them, or Export All to save them as made.")},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        batch->clear();
        batch->setUsePreset(false);
        batch->setPreset(ListingPreset::etsy);
        batch->setFormat(ExportFormat::png);
        batch->setLongEdge(2400);
        batchEngines->setFailing({});
        queue({"a.png", "b.png"});
        c.steps();

        EXPECT_EQ(kinds(), c.kinds);
        for (int row = 0; row < batch->items()->rowCount(); ++row) {
            const QModelIndex tile = batch->items()->index(row);
            EXPECT_EQ(tile.data(BatchItemList::ShowsResultRole).toBool(), c.showsResult[std::size_t(row)]) << row;
            const QImage shown = tile.data(BatchItemList::ThumbnailRole).value<QImage>();
            EXPECT_EQ(shown.size(), c.showsResult[std::size_t(row)] ? QSize(2, 2) : QSize(4, 3)) << row;
        }
        EXPECT_EQ(batch->doneCount(), c.written.size()) << "the count on Export All";
        EXPECT_EQ(batch->hasResults(), !c.written.isEmpty()) << "whether Export All shows";
        EXPECT_EQ(batch->outputNote(), c.outputNote);

        const QString out = folder(QStringLiteral("export ") + QString::fromUtf8(c.name));
        batch->saveAll(QUrl::fromLocalFile(out));
        runner->settle();
        EXPECT_EQ(QDir(out).entryList(QDir::Files, QDir::Name), c.written);
        EXPECT_EQ(batch->lastError(), c.written.isEmpty() ? QStringLiteral("Nothing was exported.") : QString());
    }
}

TEST_F(BatchTest, AnEmptyOrFinishedQueueEndsAtOnce)
{
    batch->start(*editor);
    EXPECT_FALSE(batch->isRunning());
    EXPECT_TRUE(batch->didFinish());

    queue({"a.png"});
    runToTheEnd();
    const int calls = batchEngines->calls;
    batch->start(*editor);
    EXPECT_FALSE(batch->isRunning());
    EXPECT_TRUE(batch->didFinish());
    EXPECT_EQ(batchEngines->calls, calls);
}

TEST_F(BatchTest, StartingWhileRunningChangesNothing)
{
    queue({"a.png", "b.png"});
    batch->start(*editor);
    editor->setFeather(9);
    batch->start(*editor);
    EXPECT_EQ(runner->pendingJobs(), 1u);
    EXPECT_NE(batch->matte().feather, 9);
}

TEST_F(BatchTest, CancellingLetsTheFileInProgressEnd)
{
    queue({"a.png", "b.png", "c.png"});
    batch->start(*editor);
    batch->cancel();
    EXPECT_FALSE(batch->isRunning());
    EXPECT_FALSE(batch->didFinish());
    EXPECT_EQ(batch->itemsInOrder()[0].status.kind, Kind::processing);

    runner->settle();
    EXPECT_TRUE(batch->didFinish());
    EXPECT_EQ(kinds(), (std::vector{Kind::done, Kind::queued, Kind::queued}));
    EXPECT_EQ(batchEngines->calls, 1);
}

// A run started while a cancelled one still cuts its file waits for that
// file: the batch's engines never serve two files at once, and the file's
// own result decides its state.
TEST_F(BatchTest, ANewRunWaitsForTheCancelledOne)
{
    queue({"a.png", "broken.png", "c.png"});
    batch->start(*editor);
    runner->runWork();           // a.png is being cut…
    batch->cancel();
    batch->start(*editor);       // …when the user starts again
    EXPECT_TRUE(batch->isRunning());
    EXPECT_EQ(runner->pendingJobs(), 0u) << "no second file while the first is in flight";
    EXPECT_EQ(batch->itemsInOrder()[0].status.kind, Kind::processing);

    runner->deliver();           // a.png is done; the new run takes over
    EXPECT_EQ(batch->itemsInOrder()[0].status.kind, Kind::done);
    EXPECT_EQ(runner->pendingJobs(), 1u);
    EXPECT_EQ(batch->processingIndex(), 2);
    EXPECT_TRUE(batch->isRunning());
    EXPECT_FALSE(batch->didFinish());

    runner->settle();
    EXPECT_EQ(kinds(), (std::vector{Kind::done, Kind::failed, Kind::done}));
    EXPECT_EQ(batchEngines->calls, 3);
    EXPECT_EQ(batchEngines->mostAtOnce(), 1);
    EXPECT_FALSE(batch->isRunning());
    EXPECT_TRUE(batch->didFinish());
}

TEST_F(BatchTest, CancellingAWaitingRunDropsIt)
{
    queue({"a.png", "b.png"});
    batch->start(*editor);
    runner->runWork();
    batch->cancel();
    batch->start(*editor);
    batch->cancel();
    runner->deliver();
    EXPECT_EQ(runner->pendingJobs(), 0u);
    EXPECT_EQ(kinds(), (std::vector{Kind::done, Kind::queued}));
    EXPECT_TRUE(batch->didFinish());
}

TEST_F(BatchTest, ClearingEmptiesTheQueueAndDropsLateResults)
{
    queue({"a.png", "b.png"});
    batch->setLastError(QStringLiteral("old"));
    batch->start(*editor);
    batch->clear();
    EXPECT_EQ(batch->total(), 0);
    EXPECT_EQ(batch->items()->rowCount(), 0);
    EXPECT_FALSE(batch->isRunning());
    EXPECT_TRUE(batch->lastError().isEmpty());
    EXPECT_EQ(batch->processingIndex(), 1);  // kept

    runner->settle();
    EXPECT_EQ(batch->total(), 0);
    EXPECT_EQ(batchEngines->calls, 1);
}

TEST_F(BatchTest, TellsTheListWhichRowChanged)
{
    queue({"a.png", "b.png"});
    QSignalSpy changed(batch->items(), &QAbstractItemModel::dataChanged);
    batch->start(*editor);
    ASSERT_GE(changed.count(), 1);
    EXPECT_EQ(changed.last().at(0).value<QModelIndex>().row(), 0);
    const QModelIndex first = batch->items()->index(0);
    EXPECT_EQ(first.data(BatchItemList::StatusRole).toString(), QStringLiteral("processing"));
    runner->runJob();
    EXPECT_EQ(first.data(BatchItemList::StatusRole).toString(), QStringLiteral("done"));
    EXPECT_TRUE(first.data(BatchItemList::ShowsResultRole).toBool());
    EXPECT_EQ(first.data(BatchItemList::BaseNameRole).toString(), QStringLiteral("a"));
}

// ---- Saving -------------------------------------------------------------------

TEST_F(BatchTest, NamesFilesAfterTheirSourcesAndNeverReplacesOne)
{
    QDir().mkpath(dir.filePath(QStringLiteral("one")));
    QDir().mkpath(dir.filePath(QStringLiteral("two")));
    queue({"one/cat.jpg", "two/cat.jpg"});
    runToTheEnd();
    const QString out = folder(QStringLiteral("out"));

    // The files that went under a numbered name are named.
    const QStringList renamed[] = {{"cat-cutout-2.png"}, {"cat-cutout-3.png", "cat-cutout-4.png"}};
    for (int round = 0; round < 2; ++round) {
        QSignalSpy finished(batch.get(), &BatchState::saveFinished);
        batch->saveAll(QUrl::fromLocalFile(out));
        runner->settle();
        ASSERT_EQ(finished.count(), 1);
        EXPECT_EQ(finished.first().at(0).toInt(), 2);
        EXPECT_EQ(finished.first().at(3).toStringList(), renamed[round]);
        EXPECT_TRUE(batch->lastError().isEmpty());
    }
    EXPECT_EQ(QDir(out).entryList(QDir::Files, QDir::Name),
              (QStringList{"cat-cutout-2.png", "cat-cutout-3.png", "cat-cutout-4.png", "cat-cutout.png"}));
    EXPECT_EQ(contents(out + QStringLiteral("/cat-cutout.png")), "PNG of " + dir.filePath("one/cat.jpg").toUtf8());
    EXPECT_EQ(contents(out + QStringLiteral("/cat-cutout-2.png")), "PNG of " + dir.filePath("two/cat.jpg").toUtf8());
}

TEST_F(BatchTest, SavesOffTheGuiThreadOneSaveAtATime)
{
    queue({"a.png"});
    runToTheEnd();
    const QString out = folder(QStringLiteral("out"));
    batch->saveAll(QUrl::fromLocalFile(out));
    EXPECT_TRUE(batch->isSaving());
    EXPECT_FALSE(QFileInfo::exists(out + QStringLiteral("/a-cutout.png")));
    batch->saveAll(QUrl::fromLocalFile(out));   // ignored while the first runs
    ASSERT_EQ(runner->pendingJobs(), 1u);
    runner->runJob();
    EXPECT_FALSE(batch->isSaving());
    EXPECT_TRUE(QFileInfo::exists(out + QStringLiteral("/a-cutout.png")));
    EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), 1);
}

TEST_F(BatchTest, APartialExportSaysHowManyAndWhyTheRestFailed)
{
    const QString longName = QString(250, u'x') + QStringLiteral(".png");  // too long with "-cutout"
    queue({"a.png", longName});
    runToTheEnd();
    batch->saveAll(QUrl::fromLocalFile(folder(QStringLiteral("out"))));
    runner->settle();
    EXPECT_TRUE(batch->lastError().startsWith(QStringLiteral("Exported 1 of 2. Couldn't write ")))
        << batch->lastError().toStdString();
    EXPECT_TRUE(batch->lastError().endsWith(QStringLiteral(": the name is too long.")));
    // Only the file written is in a file now.
    EXPECT_EQ(batch->unsavedResultCount(), 1);
}

TEST_F(BatchTest, WhenNothingIsWrittenTheCauseIsKept)
{
    queue({"a.png"});
    runToTheEnd();
    batch->saveAll(QUrl::fromLocalFile(dir.filePath(QStringLiteral("missing"))));
    runner->settle();
    EXPECT_EQ(batch->lastError(),
              QStringLiteral("Nothing was exported. Couldn't write a-cutout.png: the folder doesn't exist."));

    // Nothing to write at all.
    batch->clear();
    QSignalSpy finished(batch.get(), &BatchState::saveFinished);
    batch->saveAll(QUrl::fromLocalFile(folder(QStringLiteral("out"))));
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(batch->lastError(), QStringLiteral("Nothing was exported."));
}

TEST(BatchSaving, PassesOverNamesThatAreTakenByLinks)
{
    QTemporaryDir dir;
    // A dangling link under the first name: writing through it would create
    // a file elsewhere.
    const QString elsewhere = dir.filePath(QStringLiteral("elsewhere.png"));
    ASSERT_TRUE(QFile::link(elsewhere, dir.filePath(QStringLiteral("cat-cutout.png"))));
    const BatchSaveReport report =
        saveBatchResults(dir.path(), {BatchResultFile{QStringLiteral("cat"), {"data", QStringLiteral("png")}}});
    EXPECT_EQ(report.written, 1);
    EXPECT_FALSE(QFileInfo::exists(elsewhere));
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("cat-cutout-2.png"))).isFile());
    EXPECT_EQ(batchOutputName(QStringLiteral("a.b"), 12, QStringLiteral("svg")), QStringLiteral("a.b-cutout-12.svg"));
}

} // namespace zephrin::testing
