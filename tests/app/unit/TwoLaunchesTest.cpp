// Two real launches of zephrin: the second hands its hand-off URLs to the
// first and exits; the first takes the waiting files out of the inbox.

#include "share/inbox/InboxName.h"
#include "support/Patience.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace zephrin {
namespace {

class TwoLaunches : public ::testing::Test {
protected:
    QTemporaryDir m_home;
    QProcess m_first;

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.filePath(QStringLiteral("run")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        return environment;
    }

    void SetUp() override
    {
        QDir().mkpath(m_home.filePath(QStringLiteral("run")));
        QFile::setPermissions(m_home.filePath(QStringLiteral("run")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_first.setProcessEnvironment(environment());
        m_first.start(QStringLiteral(ZEPHRIN_PROGRAM), {});
        ASSERT_TRUE(m_first.waitForStarted(testing::kPatienceMs));
        const QString socket = m_home.filePath(QStringLiteral("run/zephrin.socket"));
        QElapsedTimer clock;
        clock.start();
        while (!QFile::exists(socket) && clock.elapsed() < testing::kPatienceMs)
            QTest::qWait(20);
        ASSERT_TRUE(QFile::exists(socket)) << m_first.readAllStandardError().toStdString();
    }

    void TearDown() override
    {
        m_first.terminate();
        if (!m_first.waitForFinished(5000))
            m_first.kill();
    }

    int launch(const QStringList& arguments)
    {
        QProcess second;
        second.setProcessEnvironment(environment());
        second.start(QStringLiteral(ZEPHRIN_PROGRAM), arguments);
        EXPECT_TRUE(second.waitForFinished(testing::kPatienceMs));
        return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
    }
};

// A file waiting in the inbox, as zephrin-share leaves it; its name.
QString putWaiting(const QString& inbox)
{
    QDir().mkpath(inbox);
    const QString name = makeInboxFileName(QStringLiteral("png"));
    QFile file(QDir(inbox).filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not really a png");
    return name;
}

TEST_F(TwoLaunches, TheSecondHandsOverItsUrlAndLeaves)
{
    const QString inbox = m_home.filePath(QStringLiteral("data/Zephrin/Inbox"));
    const QString name = putWaiting(inbox);
    const QFile file(QDir(inbox).filePath(name));

    EXPECT_EQ(launch({QStringLiteral("zephrin://open?file=") + name}), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !QFile::exists(file.fileName()); }, testing::kPatienceMs));
    EXPECT_EQ(m_first.state(), QProcess::Running);

    // Without arguments a launch only brings the window forward.
    EXPECT_EQ(launch({}), 0);
    EXPECT_EQ(m_first.state(), QProcess::Running);
}

TEST_F(TwoLaunches, HandOffsGivenTogetherWaitInTheBatchQueue)
{
    const QString inbox = m_home.filePath(QStringLiteral("data/Zephrin/Inbox"));
    QStringList urls;
    for (int i = 0; i < 3; ++i)
        urls << QStringLiteral("zephrin://open?file=") + putWaiting(inbox);
    EXPECT_EQ(launch(urls), 0);
    const QDir queued(m_home.filePath(QStringLiteral("data/Zephrin/Incoming/Queued")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QDir(inbox).isEmpty(); }, testing::kPatienceMs));
    EXPECT_EQ(queued.entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 3);
    EXPECT_EQ(m_first.state(), QProcess::Running);
}

} // namespace
} // namespace zephrin
