// The hand-off road from another launch and from the inbox into the editor:
// the single-instance socket, and the editor's handling of waiting files.

#include "app/shell/DiscardedWork.h"
#include "app/shell/IncomingRoad.h"
#include "app/shell/SingleInstance.h"
#include "app/shell/WindowCommands.h"
#include "model/editor/EditorState.h"
#include "app/shell/IncomingFiles.h"
#include "share/inbox/InboxFolder.h"
#include "share/inbox/InboxName.h"
#include "share/inbox/OriginalName.h"
#include "share/inbox/QueuedCopies.h"
#include "share/handoff/ImageKind.h"
#include "model/editor/ExportFile.h"
#include "engine/codec/ImageFormat.h"
#include "EditorFixture.h"
#include "output/service/NativePath.h"
#include "support/GuiApplication.h"
#include "support/HostileImages.h"
#include "support/Patience.h"
#include "support/ScopedEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include <pwd.h>
#include <unistd.h>

namespace zephrin {
namespace {

TEST(SingleInstance, HandsArgumentsToTheRunningInstance)
{
    testing::ensureGuiApplication();
    QTemporaryDir folder;
    SingleInstance first(folder.filePath(QStringLiteral("z.socket")));
    ASSERT_TRUE(first.listen());
    QSignalSpy received(&first, &SingleInstance::argumentsReceived);

    bool forwarded = false;
    std::thread second([&] {
        forwarded = SingleInstance::forward(first.socketPath(),
                                            {QStringLiteral("zephrin://open?file=x"), QStringLiteral("/tmp/ä b.png")});
    });
    EXPECT_TRUE(received.wait(testing::kPatienceMs));
    second.join();
    EXPECT_TRUE(forwarded);
    ASSERT_EQ(received.count(), 1);
    EXPECT_EQ(received.at(0).at(0).toStringList(),
              (QStringList{QStringLiteral("zephrin://open?file=x"), QStringLiteral("/tmp/ä b.png")}));

    // A launch without arguments only asks the window to come forward.
    std::thread third([&] { SingleInstance::forward(first.socketPath(), {}); });
    EXPECT_TRUE(received.wait(testing::kPatienceMs));
    third.join();
    EXPECT_TRUE(received.at(1).at(0).toStringList().isEmpty());
}

TEST(SingleInstance, ASecondInstanceDefersAndAStaleSocketIsTakenOver)
{
    testing::ensureGuiApplication();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("z.socket"));
    EXPECT_FALSE(SingleInstance::forward(path, {}));  // nobody there

    {
        SingleInstance first(path);
        ASSERT_TRUE(first.listen());
        SingleInstance second(path);
        EXPECT_FALSE(second.listen());
    }
    // A socket file left behind by an instance that died.
    QFile stale(path);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    SingleInstance next(path);
    EXPECT_TRUE(next.listen());
    EXPECT_FALSE(SingleInstance(path).listen());
}

TEST(SingleInstance, WithoutARuntimeFolderUsesAFolderOfTheUsersOwn)
{
    // Neither $XDG_RUNTIME_DIR nor Qt's own stand-in for it, a folder in the
    // temporary folder, can be had (somebody's file holds that name): the
    // socket went to the temporary folder, where any user could take its
    // name first and then receive every launch's files.
    QTemporaryDir home;
    const QString temporary = home.filePath(QStringLiteral("tmp"));
    ASSERT_TRUE(QDir().mkpath(temporary));
    QFile squatter(QDir(temporary).filePath(QStringLiteral("runtime-") + QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name)));
    ASSERT_TRUE(squatter.open(QIODevice::WriteOnly));
    squatter.close();
    const testing::ScopedEnvironment runtime("XDG_RUNTIME_DIR", "");
    const testing::ScopedEnvironment tmp("TMPDIR", qPrintable(temporary));
    const testing::ScopedEnvironment cache("XDG_CACHE_HOME", qPrintable(home.filePath(QStringLiteral("cache"))));
    ASSERT_TRUE(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation).isEmpty());

    const QString folder = home.filePath(QStringLiteral("cache/Zephrin/instance"));
    EXPECT_EQ(SingleInstance::defaultSocketPath(), QDir(folder).filePath(QStringLiteral("zephrin.socket")));
    EXPECT_EQ(QFileInfo(folder).permissions() & 0x7777,
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadUser
                  | QFileDevice::WriteUser | QFileDevice::ExeUser);
    // A folder of the user's own that others may enter is closed to them first.
    ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                  | QFileDevice::ReadOther | QFileDevice::ExeOther));
    EXPECT_FALSE(SingleInstance::defaultSocketPath().isEmpty());
    EXPECT_FALSE(QFileInfo(folder).permissions() & QFileDevice::ReadOther);

    // A link in its place (to a folder somebody else could enter) is not the
    // user's own: every launch then runs alone.
    ASSERT_TRUE(QDir(folder).removeRecursively());
    ASSERT_TRUE(QFile::link(temporary, folder));
    EXPECT_EQ(SingleInstance::defaultSocketPath(), QString());
    SingleInstance alone{QString()};
    EXPECT_TRUE(alone.listen());
    EXPECT_FALSE(SingleInstance::forward(QString(), {QStringLiteral("/a.png")}));
    EXPECT_FALSE(QFile::exists(QDir(temporary).filePath(QStringLiteral("zephrin.socket"))));
}

// zephrin-share hands over exactly the files the editor opens, by name and by
// first bytes, and the desktop offers Zephrin for each of them: the lists live
// apart (the hand-off knows no engine) and must not drift.
TEST(IncomingRoad, TheHandOffTakesTheFormatsTheEditorOpens)
{
    QStringList patterns;
    for (const QString& extension : handedOverExtensions())
        patterns << QStringLiteral("*.") + extension;
    patterns.sort();
    QStringList importable = importableImagePatterns();
    importable.sort();
    EXPECT_EQ(patterns, importable);

    const auto isoFile = [](const char* brand, const char* compatible = "mif1") {
        return QByteArray("\0\0\0\x18" "ftyp", 8) + brand + QByteArray("\0\0\0\0", 4) + compatible
               + QByteArray(20, '\0');
    };
    const QByteArray heads[] = {
        QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(24, 'p'), QByteArray("\xff\xd8\xff\xe0", 4) + QByteArray(28, 'j'),
        QByteArray("GIF89a") + QByteArray(26, 'g'), QByteArray("RIFF\x10\0\0\0WEBPVP8 ", 16) + QByteArray(16, 'w'),
        QByteArray("II*\0\x08\0\0\0", 8) + QByteArray(24, 't'), QByteArray("BM\x36\0\0\0\0\0\0\0\x36\0\0\0", 14) + QByteArray(18, 'b'),
        isoFile("heic"), isoFile("heix"), isoFile("avif"), isoFile("mif1"), isoFile("msf1"), isoFile("hevc"),
        isoFile("avis"), isoFile("isom"), isoFile("mif1", "heic"), isoFile("mif1", "avif"), isoFile("msf1", "hevc"),
        QByteArray("%PDF-1.7") + QByteArray(24, 'x')};
    for (const QByteArray& head : heads) {
        SCOPED_TRACE(head.left(12).toStdString());
        const QString extension = imageExtensionFromMagic(head);
        const std::optional<ImageFileFormat> format = sniffedFormat(head);
        ASSERT_EQ(!extension.isEmpty(), format.has_value());
        // The copy's extension is one the editor gives that format.
        if (format) {
            EXPECT_TRUE(std::ranges::any_of(importableFormats(), [&](const ImportableFormat& entry) {
                return entry.format == *format && std::ranges::find(entry.extensions, extension) != entry.extensions.end();
            })) << extension.toStdString();
        }
    }

    for (const char* entry : {"zephrin", "zephrin-share"}) {
        SCOPED_TRACE(entry);
        QFile desktop(QStringLiteral(ZEPHRIN_SOURCE_DIR "/app/desktop/%1.desktop.in").arg(QLatin1StringView(entry)));
        ASSERT_TRUE(desktop.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(desktop.readAll());
        const qsizetype start = text.indexOf(QStringLiteral("\nMimeType="));
        ASSERT_GE(start, 0);
        const QStringList offered = text.mid(start + 10).section(u'\n', 0, 0).split(u';');
        for (const QString& type : importableImageTypes())
            EXPECT_TRUE(offered.contains(type)) << type.toStdString();
    }
}

TEST(IncomingRoad, MakesLaunchArgumentsAbsolute)
{
    EXPECT_EQ(IncomingRoad::absoluteArguments({QStringLiteral("a.png"), QStringLiteral("zephrin://open?file=x"),
                                               QStringLiteral("file:///b.png"), QStringLiteral("/c.png")},
                                              QStringLiteral("/home/u/Pictures")),
              (QStringList{QStringLiteral("/home/u/Pictures/a.png"), QStringLiteral("zephrin://open?file=x"),
                           QStringLiteral("file:///b.png"), QStringLiteral("/c.png")}));
}

class IncomingFilesTest : public testing::EditorTest {
protected:
    QTemporaryDir m_home;
    testing::ScopedEnvironment m_dataHome{"XDG_DATA_HOME", qPrintable(m_home.path())};
    QString m_inbox = *sharedInboxFolder();
    WindowCommands m_commands{*editor};
    IncomingRoad m_road{*editor, m_commands};

    // A picture waiting in the inbox, as zephrin-share leaves it.
    QString waiting(const QDateTime& date = {})
    {
        const QString path = QDir(m_inbox).filePath(makeInboxFileName(QStringLiteral("png")));
        QFile::copy(writePicture(QStringLiteral("shared.png")).toLocalFile(), path);
        if (date.isValid()) {
            QFile file(path);
            file.open(QIODevice::Append);
            file.setFileTime(date, QFileDevice::FileModificationTime);
        }
        return path;
    }

    // The launch argument that hands `file` over.
    static QString handOffArgument(const QString& file)
    {
        return QStringLiteral("zephrin://open?file=") + QFileInfo(file).fileName();
    }

    void handOff(const QString& file)
    {
        handleIncomingURL(*editor, QUrl::fromLocalFile(file));
        runner->settle();
    }
};

TEST_F(IncomingFilesTest, WithoutADocumentTheFileOpensAtOnceAndLeavesTheInbox)
{
    editor->setImportTarget(ImportTarget::background);
    const QString file = waiting();
    handOff(file);
    EXPECT_EQ(editor->importTarget(), ImportTarget::document);
    EXPECT_FALSE(editor->showIncomingReplaceConfirm());
    ASSERT_TRUE(editor->document());
    EXPECT_EQ(editor->document()->url.fileName(), QFileInfo(file).fileName());
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(waitingInboxFiles(), QStringList());
}

TEST_F(IncomingFilesTest, AnUntouchedDocumentIsReplacedWithoutAsking)
{
    openDocument();
    ASSERT_TRUE(editor->cutout());
    EXPECT_FALSE(hasWorkInProgress(*editor));
    const QString file = waiting();
    handOff(file);
    EXPECT_FALSE(editor->showIncomingReplaceConfirm());
    EXPECT_EQ(editor->document()->url.fileName(), QFileInfo(file).fileName());
}

TEST_F(IncomingFilesTest, AnyKindOfWorkInProgressParksTheFile)
{
    // Composite settings, a mask edit, a paint edit, history: each is work.
    const std::vector<std::function<void(EditorState&)>> kinds{
        [](EditorState& e) { e.setComp([&] { auto c = e.comp(); c.padding = 20; return c; }()); },
        [](EditorState& e) { e.appendMaskOp(MaskStroke{true, BrushTip::round, 8, 1, {{5, 5}}}); },
        [](EditorState& e) {
            e.appendPaintOp(PaintStroke{{1, 0, 0, 1}, PaintBlend::solid, 1, BrushTip::round, 8, 1, {{5, 5}},
                                        std::nullopt, {}});
        },
        [](EditorState& e) {
            e.setFeather(4);
            e.commitHistory();
        },
    };
    for (std::size_t kind = 0; kind < kinds.size(); ++kind) {
        openDocument();
        kinds[kind](*editor);
        runner->settle();
        EXPECT_TRUE(hasWorkInProgress(*editor)) << kind;
        const QUrl before = editor->document()->url;
        const QString file = waiting();
        handOff(file);
        EXPECT_TRUE(editor->showIncomingReplaceConfirm()) << kind;
        EXPECT_EQ(editor->pendingIncomingURL(), QUrl::fromLocalFile(file));
        EXPECT_EQ(editor->document()->url, before);
        EXPECT_TRUE(QFile::exists(file));
        // The road holds the fixture's first editor; later editors are
        // answered through the function the road calls.
        cancelIncomingReplace(*editor);
        makeEditor();
    }
}

// "Keep Working" keeps the document and the shared picture, which may exist
// nowhere else (it came on standard input): it joins the batch queue, and a
// notice says so over the document. It was deleted.
TEST_F(IncomingFilesTest, KeepWorkingKeepsTheDocumentAndQueuesTheSharedPicture)
{
    openDocument();
    editor->setComp([&] { auto c = editor->comp(); c.mirror = true; return c; }());
    const QUrl before = editor->document()->url;
    const QString file = waiting();
    handOff(file);
    ASSERT_TRUE(editor->showIncomingReplaceConfirm());
    m_road.cancelReplace();
    EXPECT_EQ(editor->notice(), QStringLiteral("Added 1 shared image to the batch."));
    runner->settle();
    EXPECT_FALSE(editor->showIncomingReplaceConfirm());
    EXPECT_TRUE(editor->pendingIncomingURL().isEmpty());
    EXPECT_EQ(editor->document()->url, before);
    EXPECT_FALSE(editor->batchMode());
    ASSERT_EQ(editor->batch()->total(), 1);
    EXPECT_TRUE(QFile::exists(editor->batch()->itemsInOrder().front().url.toLocalFile()));
    EXPECT_EQ(waitingInboxFiles(), QStringList());
    m_road.cancelReplace();  // a second dismissal finds nothing to keep
}

TEST_F(IncomingFilesTest, ReplaceOpensTheParkedFileOnce)
{
    openDocument();
    editor->setComp([&] { auto c = editor->comp(); c.mirror = true; return c; }());
    const QString file = waiting();
    handOff(file);
    const QString second = waiting();
    handOff(second);  // a second hand-off while the question is up replaces the parked one
    EXPECT_EQ(editor->pendingIncomingURL(), QUrl::fromLocalFile(second));
    m_road.confirmReplace();
    runner->settle();
    EXPECT_FALSE(editor->showIncomingReplaceConfirm());
    EXPECT_TRUE(editor->pendingIncomingURL().isEmpty());
    EXPECT_EQ(editor->document()->url.fileName(), QFileInfo(second).fileName());
    EXPECT_FALSE(QFile::exists(second));
    // The dismissal that follows the answer drops nothing; the first stays for a later scan.
    m_road.cancelReplace();
    EXPECT_TRUE(QFile::exists(file));
}

TEST_F(IncomingFilesTest, OnlyValidHandOffsReachTheEditor)
{
    const QString file = waiting();
    const QString name = QFileInfo(file).fileName();
    m_road.openArguments({QStringLiteral("zephrin://other?file=") + name, QStringLiteral("zephrin://open?file=..%2F") + name,
                          QStringLiteral("zephrin://open?file=") + makeInboxFileName(QStringLiteral("png"))});
    runner->settle();
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_FALSE(editor->document());
    // Said, without telling the addresses back.
    EXPECT_EQ(editor->lastError(),
              QStringLiteral("3 zephrin:// addresses couldn't be opened: they name no shared image waiting in the inbox."));
    m_road.openArguments({QStringLiteral("zephrin://open?file=") + name});
    runner->settle();
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(editor->document());
    EXPECT_EQ(editor->lastError(), QString());
    // Announced again after it was taken, it is gone, not forged.
    m_road.openArguments({QStringLiteral("zephrin://open?file=") + name});
    runner->settle();
    EXPECT_EQ(editor->lastError(), QString());
}

// Hand-offs come one launch each; those that arrive together go into the
// batch queue under their shared names, and leave the inbox only once the
// queue holds them.
TEST_F(IncomingFilesTest, HandOffsArrivingTogetherAreQueuedNotLost)
{
    openDocument();
    const QUrl before = editor->document()->url;
    QStringList files;
    for (int i = 0; i < 5; ++i)
        files << waiting();
    const bool origins = recordOrigin(files[0], QStringLiteral("/photos/duck.png"));
    for (const QString& file : files)
        m_road.openArguments({handOffArgument(file)});
    // Still gathering: nothing has left the inbox.
    runner->advance(IncomingRoad::kGathering / 2);
    EXPECT_EQ(waitingInboxFiles().size(), 5);
    EXPECT_EQ(editor->batch()->total(), 0);

    runner->settle();
    EXPECT_EQ(waitingInboxFiles(), QStringList());
    EXPECT_TRUE(editor->batchMode());
    EXPECT_EQ(editor->document()->url, before);
    EXPECT_FALSE(editor->showIncomingReplaceConfirm());
    const std::vector<BatchItem>& queued = editor->batch()->itemsInOrder();
    ASSERT_EQ(queued.size(), 5u);
    EXPECT_EQ(queued[0].fileName(), origins ? QStringLiteral("duck.png") : QStringLiteral("Shared image.png"));
    EXPECT_EQ(queued[1].fileName(), QStringLiteral("Shared image.png"));
    for (const BatchItem& item : queued)
        EXPECT_TRUE(QFile::exists(item.url.toLocalFile())) << item.fileName().toStdString();

    // The copies last as long as the queue names them.
    const QString copy = queued[1].url.toLocalFile();
    editor->batch()->clear();
    EXPECT_FALSE(QFile::exists(copy));
}

// Copies an editor left queued when it ended without quitting stay through
// the next batch hand-off, and the next start offers them again and says how
// many came back (nothing did).
TEST_F(IncomingFilesTest, CopiesLeftBehindAreOfferedAgainAtTheStart)
{
    const QString shared = waiting();
    const std::optional<QString> left = copyForQueue(shared, QStringLiteral("duck.png"), *queuedCopiesFolder());
    ASSERT_TRUE(left);
    removeHandedOverFile(shared);   // the queue of the editor that is gone held it
    {
        IncomingRoad road(*editor, m_commands);
        road.openArguments({handOffArgument(waiting()), handOffArgument(waiting())});
        runner->settle();
        ASSERT_EQ(editor->batch()->total(), 2);
        EXPECT_TRUE(QFile::exists(*left));
    }   // quit: this editor's own copies go

    makeEditor();
    WindowCommands commands(*editor);
    IncomingRoad road(*editor, commands);
    EXPECT_EQ(road.restoreLeftBehindFiles(), 1);
    road.openWaitingInboxFiles();
    runner->advance(IncomingRoad::kGathering);
    EXPECT_EQ(editor->notice(), QStringLiteral("Restored 1 shared image from the last session."));
    runner->settle();
    ASSERT_TRUE(editor->document());
    EXPECT_EQ(editor->document()->name, QStringLiteral("duck.png"));
}

// At the start, or for a launch that names nothing, every waiting file is
// taken, several into the batch.
TEST_F(IncomingFilesTest, TheScanTakesEveryWaitingFile)
{
    waiting(QDateTime::currentDateTime().addSecs(-60));
    waiting();
    m_road.openWaitingInboxFiles();
    runner->settle();
    EXPECT_EQ(waitingInboxFiles(), QStringList());
    EXPECT_EQ(editor->batch()->total(), 2);
    EXPECT_FALSE(editor->document());

    const QString alone = waiting();
    m_road.openWaitingInboxFiles();
    runner->settle();
    EXPECT_FALSE(QFile::exists(alone));
    EXPECT_TRUE(editor->document());
}

// While the question is up for one hand-off, the next goes to the batch: it
// neither replaces the parked file nor is lost.
TEST_F(IncomingFilesTest, AHandOffWhileTheQuestionIsUpJoinsTheBatch)
{
    openDocument();
    editor->appendMaskOp(MaskStroke{true, BrushTip::round, 8, 1, {{5, 5}}});
    runner->settle();
    const QString first = waiting();
    m_road.openArguments({handOffArgument(first)});
    runner->settle();
    ASSERT_TRUE(editor->showIncomingReplaceConfirm());
    const QString second = waiting();
    // A launch naming nothing finds both waiting; the parked one stays the question's.
    m_road.openForwardedLaunch({});
    runner->advance(IncomingRoad::kGathering);
    runner->runAll();
    EXPECT_EQ(editor->pendingIncomingURL(), QUrl::fromLocalFile(first));
    ASSERT_EQ(editor->batch()->total(), 1);
    EXPECT_FALSE(QFile::exists(second));
    // The document stays in view under its question; the notice says where the picture went.
    EXPECT_FALSE(editor->batchMode());
    EXPECT_EQ(editor->notice(), QStringLiteral("Added 1 shared image to the batch."));
    m_road.confirmReplace();
    runner->settle();
    EXPECT_EQ(editor->document()->url.fileName(), QFileInfo(first).fileName());
}

// A hand-off that comes while the one before is still being opened joins the
// batch: opened too, it took the first one's file from under its reader and
// replaced the import, so that the first picture was neither shown nor kept.
TEST_F(IncomingFilesTest, AHandOffWhileAnotherOpensJoinsTheBatch)
{
    const QString first = waiting();
    m_road.openArguments({handOffArgument(first)});
    runner->advance(IncomingRoad::kGathering);
    ASSERT_FALSE(QFile::exists(first));   // taken out of the inbox, being read
    ASSERT_FALSE(editor->document());
    const QString second = waiting();
    m_road.openArguments({handOffArgument(second)});
    runner->advance(IncomingRoad::kGathering);
    runner->settle();
    ASSERT_TRUE(editor->document());
    EXPECT_EQ(editor->document()->url.fileName(), QFileInfo(first).fileName());
    ASSERT_EQ(editor->batch()->total(), 1);
    EXPECT_TRUE(QFile::exists(editor->batch()->itemsInOrder().front().url.toLocalFile()));
    EXPECT_FALSE(editor->batchMode());   // the picture being opened stays in view
    EXPECT_EQ(waitingInboxFiles(), QStringList());
}

// A hand-off's private copy goes only once its picture is the document: a
// file the user opens while it is still being read takes its place on
// screen, and the shared picture stays (taken earlier ones too).
TEST_F(IncomingFilesTest, AHandOffReplacedWhileItOpensIsKept)
{
    const QString first = waiting();
    handleIncomingURL(*editor, QUrl::fromLocalFile(first));
    const QString second = waiting();
    handleIncomingURL(*editor, QUrl::fromLocalFile(second));
    ASSERT_TRUE(editor->isOpeningDocument());
    const QString incoming = QDir::cleanPath(m_inbox + QStringLiteral("/../Incoming"));
    const QString taken = QDir(incoming).filePath(QFileInfo(second).fileName());
    ASSERT_TRUE(QFile::exists(taken));
    const QUrl mine = writePicture(QStringLiteral("mine.png"));
    m_commands.openFile(mine);
    runner->settle();
    ASSERT_TRUE(editor->document());
    EXPECT_EQ(editor->document()->url, mine);
    EXPECT_TRUE(QFile::exists(taken));
    EXPECT_TRUE(QFile::exists(QDir(incoming).filePath(QFileInfo(first).fileName())));

    // Opened for good, a copy goes.
    const QString third = waiting();
    handOff(third);
    EXPECT_EQ(editor->document()->url.fileName(), QFileInfo(third).fileName());
    EXPECT_FALSE(QFile::exists(QDir(incoming).filePath(QFileInfo(third).fileName())));
}

// Where no copy can be made, the files stay in the inbox and the status says
// so; a picture declined for the document too.
TEST_F(IncomingFilesTest, HandOffsTheQueueCannotTakeWaitInTheInbox)
{
    const QString blocker = *queuedCopiesFolder();
    QDir().mkpath(QFileInfo(blocker).absolutePath());
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString a = waiting();
    const QString b = waiting();
    m_road.openArguments({handOffArgument(a), handOffArgument(b)});
    runner->settle();
    EXPECT_TRUE(QFile::exists(a));
    EXPECT_TRUE(QFile::exists(b));
    EXPECT_EQ(editor->batch()->total(), 0);
    EXPECT_EQ(editor->lastError(),
              QStringLiteral("2 shared images couldn't be added to the batch and wait in the inbox for the next start."));

    openDocument();
    editor->addTextLayer();
    runner->settle();
    const QString declined = waiting();
    handOff(declined);
    ASSERT_TRUE(editor->showIncomingReplaceConfirm());
    m_road.cancelReplace();
    EXPECT_TRUE(QFile::exists(declined));
    EXPECT_EQ(editor->lastError(),
              QStringLiteral("1 shared image couldn't be added to the batch and waits in the inbox for the next start."));

    // Once the queue takes them in, the error goes with them.
    ASSERT_TRUE(QFile::remove(blocker));
    m_road.openWaitingInboxFiles();
    runner->settle();
    EXPECT_EQ(editor->batch()->total(), 3);
    EXPECT_EQ(waitingInboxFiles(), QStringList());
    EXPECT_EQ(editor->lastError(), QString());
}

// A hand-off comes into view only once its picture is the document: one that
// cannot be opened left a running batch for an empty editor. The batch stays
// in view, and a notice says why.
TEST_F(IncomingFilesTest, AHandOffThatCannotBeOpenedLeavesTheBatchInView)
{
    editor->batch()->add({writePicture(QStringLiteral("queued.png"))});
    editor->setBatchMode(true);
    editor->batch()->start(*editor);
    ASSERT_TRUE(editor->batch()->isRunning());
    const QString file = waiting();
    QFile broken(file);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write(QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(64, 'x'));
    broken.close();
    m_road.openArguments({handOffArgument(file)});
    runner->advance(IncomingRoad::kGathering);
    runner->runAll();
    EXPECT_TRUE(editor->batchMode());
    EXPECT_FALSE(editor->document());
    EXPECT_TRUE(editor->notice().startsWith(QStringLiteral("Couldn't open Shared image: ")))
        << editor->notice().toStdString();
    EXPECT_TRUE(editor->noticeIsFailure());
    EXPECT_EQ(editor->lastError(), QString());
}

TEST_F(IncomingFilesTest, AHandedOverDocumentIsNamedAfterTheSharedFileAndItsCopyGoes)
{
    const QString named = waiting();
    if (!recordOrigin(named, QStringLiteral("/photos/duck #1.png")))
        GTEST_SKIP() << "this file system keeps no extended attributes";
    handOff(named);
    ASSERT_TRUE(editor->document());
    EXPECT_EQ(editor->document()->name, QStringLiteral("duck #1.png"));
    EXPECT_EQ(editor->exportFilename(), QStringLiteral("duck #1-cutout"));
    // The private copy went once the import had read it.
    EXPECT_FALSE(QFile::exists(editor->document()->url.toLocalFile()));

    // Data without a name, and a name that would read otherwise than it is.
    handOff(waiting());
    EXPECT_EQ(editor->document()->name, QStringLiteral("Shared image"));
    EXPECT_EQ(editor->exportFilename(), QStringLiteral("Shared image-cutout"));
    const QString hostile = waiting();
    recordOrigin(hostile, QStringLiteral("/x/evil") + QChar(0x202E) + QStringLiteral("gnp.exe") + QChar(7));
    handOff(hostile);
    EXPECT_EQ(editor->document()->name, QStringLiteral("evilgnp.exe"));
}

TEST_F(IncomingFilesTest, AHandOffWhoseFileIsGoneSaysSo)
{
    handOff(QDir(m_inbox).filePath(makeInboxFileName(QStringLiteral("png"))));
    EXPECT_FALSE(editor->document());
    EXPECT_EQ(editor->lastError(), QStringLiteral("Couldn't open the shared image."));
}

TEST_F(IncomingFilesTest, AForwardedLaunchWithNothingToOpenTakesTheWaitingFile)
{
    const QString older = waiting(QDateTime::currentDateTime().addSecs(-60));
    const QString named = waiting();
    m_road.openForwardedLaunch({QStringLiteral("zephrin://open?file=") + QFileInfo(named).fileName()});
    runner->settle();
    EXPECT_FALSE(QFile::exists(named));
    EXPECT_TRUE(QFile::exists(older));  // one launch, one file

    m_road.openForwardedLaunch({});
    runner->settle();
    EXPECT_FALSE(QFile::exists(older));
}

TEST_F(IncomingFilesTest, AnSvgOpensNoFileItNamesByAnyRoad)
{
    // An SVG that draws a private picture, and one that draws a pipe (whose
    // opening waits for a writer forever, holding up the editor's worker),
    // handed over through the inbox or named on the command line.
    const QString privatePicture = writePicture(QStringLiteral("private.png")).toLocalFile();
    const testing::WatchedFifo fifo(dir.filePath(QStringLiteral("pipe.png")));
    for (const QString& named : {privatePicture, fifo.path()}) {
        SCOPED_TRACE(named.toStdString());
        const QString inboxFile = QDir(m_inbox).filePath(makeInboxFileName(QStringLiteral("svg")));
        const QString commandLineFile = dir.filePath(QStringLiteral("drawing.svg"));
        for (const QString& path : {inboxFile, commandLineFile}) {
            QFile svg(path);
            ASSERT_TRUE(svg.open(QIODevice::WriteOnly));
            svg.write(testing::svgDrawing(named));
        }
        handOff(inboxFile);
        m_road.openArguments({commandLineFile});
        runner->settle();
        EXPECT_FALSE(editor->document());
        EXPECT_EQ(editor->lastError(),
                  QStringLiteral("Couldn't open drawing.svg: it isn't a picture Zephrin reads."));
    }
    EXPECT_FALSE(fifo.wasOpened());
}

TEST_F(IncomingFilesTest, AFileNameThatIsNoUtf8IsOpened)
{
    // "café.png" in Latin-1: its name has no QString, so the launch carries it
    // as a URL of its bytes.
    const QByteArray name = QFile::encodeName(dir.path()) + "/caf\xE9.png";
    ASSERT_EQ(::rename(QFile::encodeName(writePicture(QStringLiteral("cafe.png")).toLocalFile()).constData(),
                       name.constData()),
              0);
    const QString argument = IncomingRoad::launchArgument(name);
    EXPECT_TRUE(argument.startsWith(u"file:///")) << argument.toStdString();
    EXPECT_EQ(IncomingRoad::launchArgument("/tmp/ä b.png"), QStringLiteral("/tmp/ä b.png")); // text stays text
    m_road.openArguments(IncomingRoad::absoluteArguments({argument}, QStringLiteral("/elsewhere")));
    runner->settle();
    ASSERT_TRUE(editor->document());
    EXPECT_EQ(nativePath(editor->document()->url).native(), name.toStdString());
    EXPECT_GT(editor->document()->fileSize, 0);
    ::unlink(name.constData()); // Qt cannot name it to remove it with the folder
}

// An address of other bytes than UTF-8 text names no file: it is refused as
// any address the road cannot read, not opened as a file of that name.
TEST_F(IncomingFilesTest, AnAddressThatIsNoTextOpensNothing)
{
    for (const QByteArray& bytes : {QByteArray("zephrin://open?file=in-\xE9.png"), QByteArray("zephrin://op\xE9n")}) {
        const QString argument = IncomingRoad::launchArgument(bytes);
        EXPECT_TRUE(argument.startsWith(u"zephrin://")) << argument.toStdString();
        EXPECT_FALSE(m_road.openArguments(IncomingRoad::absoluteArguments({argument}, dir.path())));
        runner->settle();
        EXPECT_FALSE(editor->document());
        EXPECT_EQ(editor->lastError(),
                  QStringLiteral("1 zephrin:// address couldn't be opened: it names no shared image waiting in the inbox."));
    }
}

TEST_F(IncomingFilesTest, AFileNamedOnTheCommandLineIsOpenedAndKept)
{
    const QUrl picture = writePicture(QStringLiteral("mine.png"));
    editor->setImportTarget(ImportTarget::background);
    editor->setBatchMode(true);
    m_road.openArguments({picture.toLocalFile()});
    runner->settle();
    ASSERT_TRUE(editor->document());
    EXPECT_EQ(editor->document()->url, picture);
    EXPECT_TRUE(QFile::exists(picture.toLocalFile()));
    EXPECT_FALSE(editor->batchMode()); // shown, not left behind the batch queue
}

// Every road that opens a file as the document asks first when that throws
// work away: the command line and "Open With" (the arguments a launch hands
// over), a drop and the importer. "Keep Working" leaves the user's own file
// where it is; "Replace" opens it, in view even when the batch queue was.
TEST_F(IncomingFilesTest, EveryRoadThatReplacesWorkAsks)
{
    const QUrl mine = writePicture(QStringLiteral("mine.png"));
    const std::vector<std::function<void()>> roads{
        [&] { m_road.openArguments({mine.toLocalFile()}); },
        [&] { m_road.openArguments({mine.toString()}); },
        [&] { m_commands.openFiles({mine}); },
        [&] {
            m_commands.importDocument();
            m_commands.importerClosed(mine);
        },
    };
    for (std::size_t road = 0; road < roads.size(); ++road) {
        openDocument();
        editor->appendMaskOp(MaskStroke{true, BrushTip::round, 8, 1, {{5, 5}}});
        runner->settle();
        const QUrl before = editor->document()->url;
        // Asked from the batch's view, which stays until the picture opens.
        editor->setBatchMode(true);
        roads[road]();
        runner->settle();
        EXPECT_TRUE(editor->showIncomingReplaceConfirm()) << road;
        EXPECT_EQ(editor->document()->url, before) << road;
        m_road.cancelReplace();
        EXPECT_TRUE(QFile::exists(mine.toLocalFile())) << road;
        EXPECT_EQ(editor->document()->url, before) << road;
        EXPECT_TRUE(editor->batchMode()) << road;

        roads[road]();
        m_road.confirmReplace();
        runner->settle();
        EXPECT_EQ(editor->document()->url, mine) << road;
        EXPECT_TRUE(QFile::exists(mine.toLocalFile())) << road;
        // The opened picture is in view, not the batch queue.
        EXPECT_FALSE(editor->batchMode()) << road;
    }
}

// The question names what goes and what stays: the composite carries over.
TEST_F(IncomingFilesTest, TheQuestionSaysWhatGoesAndWhatCarriesOver)
{
    openDocument();
    editor->appendMaskOp(MaskStroke{true, BrushTip::round, 8, 1, {{5, 5}}});
    editor->addTextLayer();
    editor->setComp(QStringLiteral("backgroundMode"), QStringLiteral("Color"));
    runner->settle();
    m_commands.openFile(writePicture(QStringLiteral("next.png")));
    EXPECT_EQ(m_road.replaceDetail(),
              QStringLiteral("Opening “next.png” discards your mask edit and the undo history. "
                             "The text layer and the background carry over."));
    m_road.cancelReplace();

    // Fill holes stays on for the next image: both questions say so.
    editor->setFillHoles(true);
    runner->settle();
    const QString carried = QStringLiteral(" The text layer, the background and your cutout settings carry over.");
    m_commands.openFile(writePicture(QStringLiteral("next.png")));
    EXPECT_TRUE(m_road.replaceDetail().endsWith(carried)) << m_road.replaceDetail().toStdString();
    m_road.cancelReplace();
    handOff(waiting());
    EXPECT_TRUE(m_road.replaceDetail().startsWith(QStringLiteral("Opening the shared image discards ")));
    EXPECT_TRUE(m_road.replaceDetail().endsWith(carried)) << m_road.replaceDetail().toStdString();
    m_road.cancelReplace();
    // A shared file whose name the hand-off kept goes by that name.
    const QString named = waiting();
    if (recordOrigin(named, QStringLiteral("/photos/duck.png"))) {
        handOff(named);
        EXPECT_TRUE(m_road.replaceDetail().startsWith(QStringLiteral("Opening “duck.png” discards ")));
        m_road.cancelReplace();
    }

    DocumentWork work;
    work.paintEdits = 2;
    work.selectionCut = true;
    work.textLayers = 2;
    work.otherComposite = true;
    work.history = true;
    EXPECT_EQ(clearDetail(work), QStringLiteral("Clearing discards your paint, the cutout made from your selection, "
                                                "2 text layers, the picture’s settings and the undo history."));
}

// A cut from a selection or a tuned flat-colour key is work too, though no
// history step records it.
TEST_F(IncomingFilesTest, AMatteMadeByHandIsWork)
{
    openDocument();
    editor->finishSelection(EditorState::Points{{20, 10}, {100, 70}});
    editor->cutSelection();
    runner->settle();
    EXPECT_TRUE(documentWork(*editor).selectionCut);
    EXPECT_TRUE(hasWorkInProgress(*editor));

    makeEditor();
    openDocument();
    editor->setCutoutMethod(CutoutMethod::flat);
    editor->setFlatTolerance(40);
    runner->settle();
    EXPECT_TRUE(documentWork(*editor).tunedKey);
}

// The "Line art" preset's colour key is no edit of the user's: the question
// calls it what it is, beside the user's own edits, and only while it is in
// force (the next picture gets no such key).
TEST_F(IncomingFilesTest, TheLineArtKeyIsNamedAsWhatItIs)
{
    openDocument();
    editor->applyLineArtPreset();
    runner->settle();
    ASSERT_EQ(editor->maskOps().size(), 1u);
    // What goes: the first sentence (the cutout settings carry over).
    const auto asked = [&] {
        m_commands.openFile(writePicture(QStringLiteral("next.png")));
        const QString detail = m_road.replaceDetail();
        m_road.cancelReplace();
        const QString first = detail.section(QStringLiteral(". "), 0, 0);
        return first.endsWith(u'.') ? first : first + u'.';
    };
    EXPECT_EQ(asked(), QStringLiteral("Opening “next.png” discards the Line art colour key and the undo history."));
    editor->appendMaskOp(MaskStroke{true, BrushTip::round, 8, 1, {{5, 5}}});
    runner->settle();
    EXPECT_EQ(asked(), QStringLiteral("Opening “next.png” discards the Line art colour key, your mask edit and the "
                                      "undo history."));
    editor->undo();
    editor->undo();
    runner->settle();
    EXPECT_EQ(asked(), QStringLiteral("Opening “next.png” discards the undo history."));
}

// Several files at once go into the batch queue; the document stays.
TEST_F(IncomingFilesTest, SeveralFilesGoIntoTheBatchQueue)
{
    openDocument();
    const QUrl before = editor->document()->url;
    m_road.openArguments({writePicture(QStringLiteral("one.png")).toLocalFile(),
                          writePicture(QStringLiteral("two.png")).toLocalFile()});
    runner->settle();
    EXPECT_TRUE(editor->batchMode());
    EXPECT_EQ(editor->batch()->total(), 2);
    EXPECT_FALSE(editor->showIncomingReplaceConfirm());
    EXPECT_EQ(editor->document()->url, before);
}

// "Clear Image" asks while the document holds work; without work it clears.
TEST_F(IncomingFilesTest, ClearingWorkAsksFirst)
{
    openDocument();
    m_commands.clearImage();
    EXPECT_FALSE(editor->document());
    EXPECT_FALSE(m_commands.askingToClear());

    openDocument();
    editor->addTextLayer();
    runner->settle();
    m_commands.clearImage();
    EXPECT_TRUE(m_commands.askingToClear());
    EXPECT_EQ(m_commands.clearDetail(), QStringLiteral("Clearing discards the text layer and the undo history."));
    m_commands.cancelClear();
    EXPECT_FALSE(m_commands.askingToClear());
    EXPECT_TRUE(editor->document());
    m_commands.clearImage();
    m_commands.confirmClear();
    EXPECT_FALSE(editor->document());
    EXPECT_FALSE(m_commands.askingToClear());
}

// Shared images the batch holds whose only copy is the editor's (shared from
// standard input, or whose file is gone) are named by the questions before
// "Clear all" and Quit, each picture judged by its own origin.
TEST_F(IncomingFilesTest, SharedImagesThatExistNowhereElseAreAskedAbout)
{
    const QString kept = writePicture(QStringLiteral("kept.png")).toLocalFile();
    const QString gone = dir.filePath(QStringLiteral("gone.png"));
    const QString fromFile = waiting();
    const QString fromGoneFile = waiting();
    const QString fromInput = waiting();
    if (!recordOrigin(fromFile, kept) || !recordOrigin(fromGoneFile, gone))
        GTEST_SKIP() << "this file system keeps no extended attributes";
    m_road.openArguments({handOffArgument(fromFile), handOffArgument(fromGoneFile), handOffArgument(fromInput)});
    runner->settle();
    ASSERT_EQ(editor->batch()->total(), 3);

    ASSERT_TRUE(m_commands.askToQuit());
    EXPECT_EQ(m_commands.quitDetail(), QStringLiteral("2 shared images are not saved in any file. Quitting discards them."));
    m_commands.cancelQuit();
    QFile(gone).open(QIODevice::WriteOnly);   // its file is back
    m_commands.clearBatch();
    ASSERT_TRUE(m_commands.askingToClearBatch());
    EXPECT_EQ(m_commands.clearResultsDetail(),
              QStringLiteral("1 shared image is not saved in any file. Clearing discards it."));
    m_commands.cancelClearResults();
    EXPECT_EQ(editor->batch()->total(), 3);
    m_commands.clearBatch();
    m_commands.confirmClearResults();
    EXPECT_EQ(editor->batch()->total(), 0);
    EXPECT_FALSE(m_commands.askToQuit());
}

// Quitting asks while a sticker sheet or batch results exist only in memory.
TEST_F(IncomingFilesTest, QuittingAsksWhileResultsExistOnlyInMemory)
{
    EXPECT_FALSE(m_commands.askToQuit());
    openDocument();
    editor->addToStickerSheet();
    runner->settle();
    QSignalSpy confirmed(&m_commands, &WindowCommands::quitConfirmed);
    EXPECT_TRUE(m_commands.askToQuit());
    EXPECT_EQ(m_commands.quitDetail(), QStringLiteral("The sticker sheet is not saved in any file. Quitting discards it."));
    m_commands.cancelQuit();
    EXPECT_EQ(confirmed.count(), 0);

    editor->exportStickerSheetPNG();
    editor->saveExportFile(QUrl::fromLocalFile(dir.filePath(QStringLiteral("sheet.png"))));
    runner->settle();
    ASSERT_TRUE(QFile::exists(dir.filePath(QStringLiteral("sheet.png"))));
    EXPECT_FALSE(m_commands.askToQuit());

    editor->batch()->add({writePicture(QStringLiteral("one.png"))});
    editor->batch()->start(*editor);
    runner->settle();
    ASSERT_TRUE(m_commands.askToQuit());
    EXPECT_EQ(m_commands.quitDetail(), QStringLiteral("1 batch result is not saved in any file. Quitting discards it."));
    m_commands.cancelQuit();

    // Exported, a result is in a file; only those made since are counted.
    editor->batch()->saveAll(QUrl::fromLocalFile(dir.path()));
    runner->settle();
    EXPECT_FALSE(m_commands.askToQuit());
    editor->batch()->add({writePicture(QStringLiteral("two.png"))});
    editor->batch()->start(*editor);
    runner->settle();
    ASSERT_EQ(editor->batch()->doneCount(), 2);
    ASSERT_TRUE(m_commands.askToQuit());
    EXPECT_EQ(m_commands.quitDetail(), QStringLiteral("1 batch result is not saved in any file. Quitting discards it."));
    m_commands.confirmQuit();
    EXPECT_EQ(confirmed.count(), 1);
    EXPECT_FALSE(m_commands.askingToQuit());
}

} // namespace
} // namespace zephrin
