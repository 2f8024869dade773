#include "content/files/AtomicWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace zephrin;

TEST(AtomicWrite, ReplacesAFileOfTheLongestNameItsFolderTakes)
{
    // Its temporary file was the name and seven bytes more: a file of 249 to
    // 255 bytes (a font or a picture named by a catalogue) could not be
    // replaced.
    QTemporaryDir folder;
    const long nameMax = ::pathconf(QFile::encodeName(folder.path()).constData(), _PC_NAME_MAX);
    ASSERT_GT(nameMax, 20);
    const QString path = folder.filePath(QString(int(nameMax) - 4, u'f') + QStringLiteral(".ttf"));
    ASSERT_TRUE(writeAtomically(path, "first"));
    ASSERT_TRUE(writeAtomically(path, "second"));
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("second"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary file left";
}

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

mode_t modeOf(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 0777 : 0;
}

} // namespace

// What QSaveFile kept: a list reached through a link into a synced folder
// goes on being updated there, and a private file stays private.
TEST(AtomicWrite, ReplacesWhatALinkLeadsToAndKeepsItsMode)
{
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("synced")));
    const QString real = folder.filePath(QStringLiteral("synced/library.json"));
    const QString link = folder.filePath(QStringLiteral("library.json"));
    ASSERT_TRUE(writeAtomically(real, "old"));
    ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0600), 0);
    ASSERT_EQ(::symlink("synced/library.json", QFile::encodeName(link).constData()), 0);

    ASSERT_TRUE(writeAtomically(link, "through the link"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(contents(real), QByteArray("through the link"));
    EXPECT_EQ(modeOf(real), 0600u);

    // A new file gets the usual mode; a link that leads nowhere stays as it is.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ASSERT_TRUE(writeAtomically(folder.filePath(QStringLiteral("new.json")), "new"));
    EXPECT_EQ(modeOf(folder.filePath(QStringLiteral("new.json"))), 0666u & ~mask);
    const QString dangling = folder.filePath(QStringLiteral("dangling.json"));
    ASSERT_EQ(::symlink("synced/gone.json", QFile::encodeName(dangling).constData()), 0);
    EXPECT_FALSE(writeAtomically(dangling, "lost"));
    EXPECT_TRUE(QFileInfo(dangling).isSymLink());

    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 3) << "no temporary file left";
    EXPECT_EQ(QDir(folder.filePath(QStringLiteral("synced"))).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// A list reached through a link to a pipe turned the pipe into a file.
TEST(AtomicWrite, NeverReplacesAPipeNorWhatALinkToOneLeadsTo)
{
    QTemporaryDir folder;
    const QByteArray pipe = QFile::encodeName(folder.filePath(QStringLiteral("pipe")));
    const QByteArray link = QFile::encodeName(folder.filePath(QStringLiteral("library.json")));
    ASSERT_EQ(::mkfifo(pipe.constData(), 0600), 0);
    ASSERT_EQ(::symlink(pipe.constData(), link.constData()), 0);
    for (const QByteArray& path : {pipe, link}) {
        SCOPED_TRACE(path.constData());
        EXPECT_FALSE(writeAtomically(QFile::decodeName(path), "lost"));
        struct stat status {};
        ASSERT_EQ(::stat(path.constData(), &status), 0);
        EXPECT_TRUE(S_ISFIFO(status.st_mode));
    }
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks).isEmpty())
        << "no temporary file left";
}
