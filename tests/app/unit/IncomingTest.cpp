// The hand-off road from another launch and from the inbox into the editor:
// the single-instance socket, and the editor's handling of waiting files.

#include "app/shell/IncomingRoad.h"
#include "app/shell/SingleInstance.h"
#include "app/shell/WindowCommands.h"
#include "model/editor/EditorState.h"
#include "app/shell/IncomingFiles.h"
#include "share/inbox/InboxFolder.h"
#include "share/inbox/InboxName.h"
#include "share/inbox/OriginalName.h"
#include "EditorFixture.h"
#include "support/GuiApplication.h"
#include "support/ScopedEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>

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
    EXPECT_TRUE(received.wait(5000));
    second.join();
    EXPECT_TRUE(forwarded);
    ASSERT_EQ(received.count(), 1);
    EXPECT_EQ(received.at(0).at(0).toStringList(),
              (QStringList{QStringLiteral("zephrin://open?file=x"), QStringLiteral("/tmp/ä b.png")}));

    // A launch without arguments only asks the window to come forward.
    std::thread third([&] { SingleInstance::forward(first.socketPath(), {}); });
    EXPECT_TRUE(received.wait(5000));
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
    EXPECT_EQ(newestInboxFile(), std::nullopt);
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

TEST_F(IncomingFilesTest, KeepWorkingDeletesTheParkedFileAndKeepsTheDocument)
{
    openDocument();
    editor->setComp([&] { auto c = editor->comp(); c.mirror = true; return c; }());
    const QUrl before = editor->document()->url;
    const QString file = waiting();
    handOff(file);
    ASSERT_TRUE(editor->showIncomingReplaceConfirm());
    m_road.cancelReplace();
    runner->settle();
    EXPECT_FALSE(editor->showIncomingReplaceConfirm());
    EXPECT_TRUE(editor->pendingIncomingURL().isEmpty());
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(editor->document()->url, before);
    m_road.cancelReplace();  // a second dismissal finds nothing to drop
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
    m_road.openArguments({QStringLiteral("zephrin://open?file=") + name});
    runner->settle();
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(editor->document());
}

TEST_F(IncomingFilesTest, TheScanTakesOnlyTheNewestWaitingFile)
{
    const QString older = waiting(QDateTime::currentDateTime().addSecs(-60));
    const QString newer = waiting();
    m_road.openWaitingInboxFile();
    runner->settle();
    EXPECT_FALSE(QFile::exists(newer));
    EXPECT_TRUE(QFile::exists(older));
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

TEST_F(IncomingFilesTest, AFileNamedOnTheCommandLineIsOpenedAndKept)
{
    const QUrl picture = writePicture(QStringLiteral("mine.png"));
    editor->setImportTarget(ImportTarget::background);
    m_road.openArguments({picture.toLocalFile()});
    runner->settle();
    ASSERT_TRUE(editor->document());
    EXPECT_EQ(editor->document()->url, picture);
    EXPECT_TRUE(QFile::exists(picture.toLocalFile()));
}

} // namespace
} // namespace zephrin
