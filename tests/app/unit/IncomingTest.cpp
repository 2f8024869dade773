// The hand-off road from another launch and from the inbox into the editor:
// the single-instance socket, and the editor's handling of waiting files.

#include "app/shell/IncomingRoad.h"
#include "app/shell/SingleInstance.h"
#include "app/shell/WindowCommands.h"
#include "model/editor/EditorState.h"
#include "model/inbox/IncomingFiles.h"
#include "share/inbox/InboxFolder.h"
#include "share/inbox/InboxName.h"
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

QCoreApplication& application()
{
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() ? QCoreApplication::instance()
                                                                : new QCoreApplication(argc, argv);
    return *app;
}

TEST(SingleInstance, HandsArgumentsToTheRunningInstance)
{
    application();
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
    application();
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

class IncomingFilesTest : public ::testing::Test {
protected:
    QTemporaryDir m_home;
    testing::ScopedEnvironment m_dataHome{"XDG_DATA_HOME", qPrintable(m_home.path())};
    QString m_inbox = *sharedInboxFolder();
    EditorState m_editor{services()};
    WindowCommands m_commands{m_editor};
    IncomingRoad m_road{m_editor, m_commands};

    EditorServices services() const
    {
        EditorServices services;
        services.settingsFile = m_home.filePath(QStringLiteral("settings.ini"));
        services.shareFolder = m_home.filePath(QStringLiteral("share"));
        return services;
    }

    QString waiting()
    {
        const QString path = QDir(m_inbox).filePath(makeInboxFileName(QStringLiteral("png")));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("png");
        return path;
    }
};

TEST_F(IncomingFilesTest, WithoutWorkTheFileIsTakenAtOnce)
{
    EXPECT_FALSE(hasWorkInProgress(m_editor));
    m_editor.setImportTarget(ImportTarget::background);
    const QString file = waiting();
    handleIncomingURL(m_editor, QUrl::fromLocalFile(file));
    EXPECT_EQ(m_editor.importTarget(), ImportTarget::document);
    EXPECT_FALSE(m_editor.showIncomingReplaceConfirm());
    // Out of the inbox, so no later scan offers it again.
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(newestInboxFile(), std::nullopt);
}

TEST_F(IncomingFilesTest, KeepWorkingDeletesTheParkedFile)
{
    const QString file = waiting();
    m_editor.setPendingIncomingURL(QUrl::fromLocalFile(file));
    m_editor.setShowIncomingReplaceConfirm(true);
    m_road.cancelReplace();
    EXPECT_FALSE(m_editor.showIncomingReplaceConfirm());
    EXPECT_TRUE(m_editor.pendingIncomingURL().isEmpty());
    EXPECT_FALSE(QFile::exists(file));
    // A second dismissal finds nothing to drop.
    m_road.cancelReplace();
}

TEST_F(IncomingFilesTest, ReplaceTakesTheParkedFile)
{
    const QString file = waiting();
    const QString other = waiting();
    m_editor.setPendingIncomingURL(QUrl::fromLocalFile(file));
    m_editor.setShowIncomingReplaceConfirm(true);
    m_road.confirmReplace();
    EXPECT_FALSE(m_editor.showIncomingReplaceConfirm());
    EXPECT_TRUE(m_editor.pendingIncomingURL().isEmpty());
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(QFile::exists(other));  // waits for a later hand-off
    // The dismissal that follows the answer drops nothing.
    m_road.cancelReplace();
    EXPECT_TRUE(QFile::exists(other));
}

TEST_F(IncomingFilesTest, OnlyValidHandOffsReachTheEditor)
{
    const QString file = waiting();
    const QString name = QFileInfo(file).fileName();
    m_road.openArguments({QStringLiteral("zephrin://other?file=") + name, QStringLiteral("zephrin://open?file=..%2F") + name,
                          QStringLiteral("zephrin://open?file=") + makeInboxFileName(QStringLiteral("png"))});
    EXPECT_TRUE(QFile::exists(file));
    m_road.openArguments({QStringLiteral("zephrin://open?file=") + name});
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(IncomingFilesTest, TheScanTakesOnlyTheNewestWaitingFile)
{
    const QString older = waiting();
    QFile(older).open(QIODevice::Append);
    QFile olderFile(older);
    olderFile.open(QIODevice::Append);
    olderFile.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime);
    olderFile.close();
    const QString newer = waiting();
    m_road.openWaitingInboxFile();
    EXPECT_FALSE(QFile::exists(newer));
    EXPECT_TRUE(QFile::exists(older));
}

} // namespace
} // namespace zephrin
