// The inbox rules both executables follow: names, hand-off URLs, and which
// files in the folder count as waiting.

#include "share/inbox/HandOffUrl.h"
#include "share/inbox/InboxFolder.h"
#include "share/inbox/InboxName.h"
#include "share/inbox/OriginalName.h"
#include "share/inbox/QueuedCopies.h"
#include "support/ScopedEnvironment.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace zephrin {
namespace {

const QString kName = QStringLiteral("in-0F8A3C52-1D2B-4C5D-9E6F-7A8B9C0D1E2F.jpg");

TEST(InboxName, AcceptsExactlyWhatItMakes)
{
    for (const QString& extension : {QStringLiteral("png"), QStringLiteral("JPG"), QStringLiteral("heic")}) {
        const QString name = makeInboxFileName(extension);
        EXPECT_TRUE(isInboxFileName(name)) << name.toStdString();
        EXPECT_TRUE(name.endsWith(u'.' + extension));
    }
    EXPECT_TRUE(makeInboxFileName(QString()).endsWith(QLatin1String(".png")));
    EXPECT_NE(makeInboxFileName(QStringLiteral("png")), makeInboxFileName(QStringLiteral("png")));
    EXPECT_TRUE(isInboxFileName(kName.toLower()));
}

TEST(InboxName, RejectsEverythingElse)
{
    for (const char* name : {"", "photo.jpg", "in-.png", "in-0F8A3C52-1D2B-4C5D-9E6F-7A8B9C0D1E2F",
                             "in-0F8A3C52-1D2B-4C5D-9E6F-7A8B9C0D1E2F.", "in-0F8A3C521D2B-4C5D-9E6F-7A8B9C0D1E2F0.png",
                             "in-0F8A3C52-1D2B-4C5D-9E6F-7A8B9C0D1E2G.png", ".in-0F8A3C52-1D2B-4C5D-9E6F-7A8B9C0D1E2F.png",
                             "in-0F8A3C52-1D2B-4C5D-9E6F-7A8B9C0D1E2F.png/..", "in-0F8A3C52-1D2B-4C5D-9E6F-7A8B9C0D1E2F.p.g",
                             "in-0F8A3C52-1D2B-4C5D-9E6F-7A8B9C0D1E2F.verylongextension1"})
        EXPECT_FALSE(isInboxFileName(QString::fromLatin1(name))) << name;
    EXPECT_FALSE(isInboxFileName(kName + QChar(0)));
    EXPECT_FALSE(isInboxFileName(QString(kName).replace(QLatin1String(".jpg"), QLatin1String(".j\\g"))));
}

TEST(HandOffUrl, RoundTripsTheNameItCarries)
{
    const QUrl url = handOffUrl(kName);
    EXPECT_EQ(url.scheme(), QStringLiteral("zephrin"));
    EXPECT_EQ(url.host(), QStringLiteral("open"));
    EXPECT_TRUE(url.path().isEmpty());
    EXPECT_EQ(handOffFileName(url.toString(QUrl::FullyEncoded)), kName);
}

TEST(HandOffUrl, TakesOnlyTheFirstFileItem)
{
    EXPECT_EQ(handOffFileName(QStringLiteral("zephrin://open?x=1&file=") + kName + QStringLiteral("&file=a.png")),
              kName);
    EXPECT_EQ(handOffFileName(QStringLiteral("zephrin://open?file=a.png&file=") + kName), std::nullopt);
}

TEST(HandOffUrl, RefusesOtherSchemesHostsAndUnsafeValues)
{
    const QString file = QStringLiteral("?file=") + kName;
    for (const QString& text : {QStringLiteral("Zephrin://open") + file, QStringLiteral("zephrin://OPEN") + file,
                                QStringLiteral("zephrin://other") + file, QStringLiteral("file://open") + file,
                                QStringLiteral("zephrin://user@open") + file, QStringLiteral("zephrin://open:80") + file,
                                QStringLiteral("zephrin://open"), QStringLiteral("zephrin://open?file="),
                                QStringLiteral("zephrin://open?name=") + kName, QStringLiteral("zephrin:open") + file,
                                QStringLiteral("zephrin://open?file=%2Fetc%2Fpasswd"),
                                QStringLiteral("zephrin://open?file=..%2F") + kName,
                                QStringLiteral("zephrin://open?file=%2E%2E"),
                                QStringLiteral("zephrin://open?file=.") + kName,
                                QStringLiteral("zephrin://open?file=") + kName + QStringLiteral("%00"),
                                QStringLiteral("zephrin://open?file=") + kName + QStringLiteral("%2F..")})
        EXPECT_EQ(handOffFileName(text), std::nullopt) << text.toStdString();
}

class InboxFolderTest : public ::testing::Test {
protected:
    QTemporaryDir m_home;
    testing::ScopedEnvironment m_dataHome{"XDG_DATA_HOME", qPrintable(m_home.path())};
    QString m_inbox = QDir(m_home.path()).filePath(QStringLiteral("Zephrin/Inbox"));

    void SetUp() override { ASSERT_EQ(sharedInboxFolder(), m_inbox); }

    QString put(const QString& name, const QDateTime& date = {}, const QByteArray& bytes = "image")
    {
        return write(QDir(m_inbox).filePath(name), bytes, date);
    }

    // Writes `bytes` at `path`, making its folder.
    static QString write(const QString& path, const QByteArray& bytes = "image", const QDateTime& date = {})
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.flush();  // a later flush would stamp the time of writing again
        if (date.isValid())
            file.setFileTime(date, QFileDevice::FileModificationTime);
        return path;
    }

    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(InboxFolderTest, ResolvesAHandOffOnlyToARegularWaitingFile)
{
    const QString path = put(kName);
    EXPECT_EQ(handOffFilePath(handOffUrl(kName).toString()), path);

    const QString missing = makeInboxFileName(QStringLiteral("png"));
    EXPECT_EQ(handOffFilePath(handOffUrl(missing).toString()), std::nullopt);

    const QString folderName = makeInboxFileName(QStringLiteral("png"));
    QDir(m_inbox).mkdir(folderName);
    EXPECT_EQ(handOffFilePath(handOffUrl(folderName).toString()), std::nullopt);

    const QString linkName = makeInboxFileName(QStringLiteral("png"));
    QFile::link(path, QDir(m_inbox).filePath(linkName));
    EXPECT_EQ(handOffFilePath(handOffUrl(linkName).toString()), std::nullopt);
}

TEST_F(InboxFolderTest, ListsTheWaitingFilesOldestFirst)
{
    EXPECT_EQ(waitingInboxFiles(), QStringList());
    const QDateTime noon(QDate(2024, 5, 1), QTime(12, 0));
    const QString middle = put(makeInboxFileName(QStringLiteral("png")), noon);
    const QString newest = put(makeInboxFileName(QStringLiteral("jpg")), noon.addSecs(60));
    const QString oldest = put(makeInboxFileName(QStringLiteral("gif")), noon.addSecs(-60));
    // Equal dates go by name.
    const QString tieB = put(QStringLiteral("in-00000000-0000-0000-0000-000000000002.png"), noon.addSecs(30));
    const QString tieA = put(QStringLiteral("in-00000000-0000-0000-0000-000000000001.png"), noon.addSecs(30));
    // No waiting file: another name, a hidden file, a link, a folder.
    put(QStringLiteral("photo.png"), noon.addSecs(600));
    put(QStringLiteral(".in-partial"), noon.addSecs(600));
    QFile::link(newest, QDir(m_inbox).filePath(makeInboxFileName(QStringLiteral("png"))));
    QDir(m_inbox).mkdir(makeInboxFileName(QStringLiteral("png")));
    EXPECT_EQ(waitingInboxFiles(), (QStringList{oldest, middle, tieA, tieB, newest}));
}

TEST_F(InboxFolderTest, RemovesOnlyWaitingFilesOfTheInbox)
{
    const QString waiting = put(kName);
    removeHandedOverFile(waiting);
    EXPECT_FALSE(QFile::exists(waiting));

    // A folder that looks like a waiting file, with something inside: kept whole.
    const QString folder = QDir(m_inbox).filePath(makeInboxFileName(QStringLiteral("png")));
    QDir().mkpath(folder + QStringLiteral("/keep"));
    removeHandedOverFile(folder);
    EXPECT_TRUE(QDir(folder + QStringLiteral("/keep")).exists());

    // The user's own files outside the inbox, or of another name, stay.
    const QString outside = QDir(m_home.path()).filePath(kName);
    QFile(outside).open(QIODevice::WriteOnly);
    removeHandedOverFile(outside);
    EXPECT_TRUE(QFile::exists(outside));
    const QString other = put(QStringLiteral("notes.txt"));
    removeHandedOverFile(other);
    EXPECT_TRUE(QFile::exists(other));

    // A link named like a waiting file: neither it nor its target is removed.
    const QString link = QDir(m_inbox).filePath(makeInboxFileName(QStringLiteral("png")));
    QFile::link(outside, link);
    removeHandedOverFile(link);
    EXPECT_TRUE(QFile::exists(outside));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}

TEST(InboxFolder, IsUnderTheDataHome)
{
    QTemporaryDir home;
    testing::ScopedEnvironment dataHome("XDG_DATA_HOME", qPrintable(home.path()));
    const std::optional<QString> folder = sharedInboxFolder();
    ASSERT_TRUE(folder);
    EXPECT_TRUE(QDir(*folder).exists());
    EXPECT_EQ(*folder, home.path() + QStringLiteral("/Zephrin/Inbox"));
}

namespace {

int modeOf(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777) : -1;
}

} // namespace

TEST_F(InboxFolderTest, KeepsTheInboxAndTakenFilesToTheUser)
{
    // An inbox made earlier as any folder is (0755) is closed to others.
    ASSERT_TRUE(QFile::setPermissions(m_inbox, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                                   | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
    ASSERT_EQ(sharedInboxFolder(), m_inbox);
    EXPECT_EQ(modeOf(m_inbox), 0700);

    const QString waiting = put(makeInboxFileName(QStringLiteral("png")));
    ASSERT_TRUE(QFile::setPermissions(waiting, QFile::ReadOwner | QFile::WriteOwner));
    const std::optional<QString> taken = takeHandedOverFile(waiting);
    ASSERT_TRUE(taken);
    EXPECT_EQ(modeOf(QFileInfo(*taken).absolutePath()), 0700);
    EXPECT_EQ(modeOf(*taken), 0600);
}

TEST(QueuedCopies, GoByTheSharedNameWithAnImageExtension)
{
    const QString waiting = QStringLiteral("/inbox/in-0F8A3C52-1D2B-4C5D-9E6F-7A8B9C0D1E2F.tiff");
    const struct {
        std::optional<QString> shared;
        QString queued;
    } cases[] = {
        {std::nullopt, QStringLiteral("Shared image.tiff")},   // data from standard input
        {QStringLiteral("duck #1.JPG"), QStringLiteral("duck #1.JPG")},
        {QStringLiteral("scan"), QStringLiteral("scan.tiff")},
        {QStringLiteral("logo v1.2"), QStringLiteral("logo v1.2.tiff")},
        {QStringLiteral(".hidden.png"), QStringLiteral("hidden.png")},
        {QStringLiteral("..."), QStringLiteral("Shared image.tiff")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(queuedName(c.shared, waiting), c.queued) << c.queued.toStdString();
    // 255 characters of two bytes each: shortened to what a file name holds.
    const QString longName = queuedName(QString(255, QChar(0xE9)) + QStringLiteral(".png"), waiting);
    EXPECT_LE(QFile::encodeName(longName).size(), 255);
    EXPECT_TRUE(longName.endsWith(QStringLiteral("é.png")));
}

TEST_F(InboxFolderTest, AQueuedCopyLivesApartAndGoesAlone)
{
    const QString folder = *queuedCopiesFolder();
    EXPECT_EQ(folder, QDir(m_home.path()).filePath(QStringLiteral("Zephrin/Incoming/Queued")));
    const QString waiting = put(kName, {}, "picture bytes");
    const std::optional<QString> first = copyForQueue(waiting, QStringLiteral("duck.jpg"), folder);
    const std::optional<QString> second = copyForQueue(waiting, QStringLiteral("duck.jpg"), folder);
    ASSERT_TRUE(first && second);
    // The waiting file stays until the caller lets it go; each copy is the
    // picture, alone in a private folder of its own.
    EXPECT_TRUE(QFile::exists(waiting));
    EXPECT_NE(*first, *second);
    EXPECT_EQ(QFileInfo(*first).fileName(), QStringLiteral("duck.jpg"));
    EXPECT_EQ(modeOf(QFileInfo(*first).absolutePath()), 0700);
    EXPECT_EQ(contents(*first), QByteArray("picture bytes"));
    removeHandedOverFile(waiting);
    EXPECT_TRUE(QFile::exists(*first));

    // Dropping takes the copy and its folder, nothing outside the copies.
    const QString outside = put(makeInboxFileName(QStringLiteral("png")));
    dropQueuedCopy(folder, outside);
    EXPECT_TRUE(QFile::exists(outside));
    dropQueuedCopy(folder, *first);
    EXPECT_FALSE(QFile::exists(*first));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(*first).absolutePath()));

    // Nothing is copied from what is no waiting file.
    EXPECT_EQ(copyForQueue(QDir(m_inbox).filePath(makeInboxFileName(QStringLiteral("png"))),
                           QStringLiteral("c.png"), folder),
              std::nullopt);
}

// What an editor that ended before a hand-off was opened or queued for good
// left outside the inbox goes back into it, under waiting names, with the
// name it was shared under; nothing else there is touched.
TEST_F(InboxFolderTest, WhatWasLeftOutsideGoesBackIntoTheInbox)
{
    const QString queued = *queuedCopiesFolder();
    const QString waiting = put(kName, {}, "linked");
    const bool origins = recordOrigin(waiting, QStringLiteral("/photos/duck.png"));
    const std::optional<QString> linked = copyForQueue(waiting, QStringLiteral("duck.png"), queued);
    removeHandedOverFile(waiting);
    // A copy where no second link could be made: the file's origin is not copied.
    const QString own = QDir(queued).filePath(QUuid::createUuid().toString(QUuid::WithoutBraces));
    write(QDir(own).filePath(QStringLiteral("scan 2.tiff")), "copied");
    const std::optional<QString> taken = takeHandedOverFile(put(makeInboxFileName(QStringLiteral("gif")), {}, "taken"));
    // Not ours: a folder of another name, and a link in a copy folder.
    const QString notOurs = write(QDir(queued).filePath(QStringLiteral("keep/a.png")));
    const QString link = QDir(queued).filePath(QUuid::createUuid().toString(QUuid::WithoutBraces) + "/b.png");
    QDir().mkpath(QFileInfo(link).absolutePath());
    QFile::link(notOurs, link);
    ASSERT_TRUE(linked && taken);
    ASSERT_EQ(waitingInboxFiles(), QStringList());

    EXPECT_EQ(returnLeftBehindFiles(), 3);
    QMap<QByteArray, QString> back;   // contents → the waiting file's name
    for (const QString& file : waitingInboxFiles())
        back.insert(contents(file), file);
    ASSERT_EQ(back.keys(), (QList<QByteArray>{"copied", "linked", "taken"}));
    EXPECT_TRUE(back["linked"].endsWith(QStringLiteral(".png")));
    EXPECT_TRUE(back["copied"].endsWith(QStringLiteral(".tiff")));
    EXPECT_EQ(back["taken"], QDir(m_inbox).filePath(QFileInfo(*taken).fileName()));
    if (origins) {
        EXPECT_EQ(originalName(back["linked"]), QStringLiteral("duck.png"));
        EXPECT_EQ(originalName(back["copied"]), QStringLiteral("scan 2.tiff"));
    }
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(*linked).absolutePath()));
    EXPECT_FALSE(QFileInfo::exists(own));
    EXPECT_TRUE(QFile::exists(notOurs));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}

TEST(InboxFolder, IsNoneWhenItIsNotAFolderOfTheUsersOwn)
{
    // A link in the inbox's place, to a folder others can read: nothing is
    // handed over through it.
    QTemporaryDir home;
    QTemporaryDir elsewhere;
    testing::ScopedEnvironment dataHome("XDG_DATA_HOME", qPrintable(home.path()));
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("Zephrin")));
    ASSERT_TRUE(QFile::link(elsewhere.path(), home.filePath(QStringLiteral("Zephrin/Inbox"))));
    EXPECT_EQ(sharedInboxFolder(), std::nullopt);
}

} // namespace
} // namespace zephrin
