#include "output/service/OutputFile.h"

#include "output/service/NativePath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using namespace zephrin;

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class OutputFileTest : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    QString target() const { return m_dir.filePath(QStringLiteral("disc-cutout.png")); }
    QStringList everyFile() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden); }
};

} // namespace

TEST_F(OutputFileTest, OfTwoWritersOfOneNameTheSecondFindsItTaken)
{
    OutputFile first(target());
    OutputFile second(target());
    ASSERT_TRUE(first.isOpen() && second.isOpen());
    ASSERT_TRUE(first.write("first") && second.write("second"));
    EXPECT_EQ(first.place(false), OutputFile::Placement::placed);
    EXPECT_EQ(second.place(false), OutputFile::Placement::nameTaken);
    EXPECT_EQ(contents(target()), QByteArray("first"));
}

TEST_F(OutputFileTest, ReplacesOnlyWhenAsked)
{
    {
        OutputFile old(target());
        ASSERT_TRUE(old.write("old"));
        ASSERT_EQ(old.place(false), OutputFile::Placement::placed);
    }
    OutputFile newer(target());
    ASSERT_TRUE(newer.write("new"));
    EXPECT_EQ(newer.place(true), OutputFile::Placement::placed);
    EXPECT_EQ(contents(target()), QByteArray("new"));
    EXPECT_EQ(everyFile(), QStringList{QStringLiteral("disc-cutout.png")});
}

// --overwrite and a confirmed Save keep a link and the replaced file's mode,
// as every replacement does; without them a link holds the name as a file does.
TEST_F(OutputFileTest, ReplacesWhatALinkLeadsToAndKeepsItsMode)
{
    QTemporaryDir elsewhere;
    const QString real = elsewhere.filePath(QStringLiteral("shared.png"));
    const auto place = [](const QString& path, const char* data, bool replace) {
        OutputFile file(path);
        EXPECT_TRUE(file.write(data));
        return file.place(replace);
    };
    const auto modeOf = [](const QString& path) {
        struct stat status {};
        return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 0777 : 0;
    };
    ASSERT_EQ(place(real, "old", false), OutputFile::Placement::placed);
    ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0600), 0);
    ASSERT_EQ(::symlink(QFile::encodeName(real).constData(), QFile::encodeName(target()).constData()), 0);

    EXPECT_EQ(place(target(), "kept", false), OutputFile::Placement::nameTaken);
    EXPECT_EQ(place(target(), "new", true), OutputFile::Placement::placed);
    EXPECT_TRUE(QFileInfo(target()).isSymLink());
    EXPECT_EQ(contents(real), QByteArray("new"));
    EXPECT_EQ(modeOf(real), 0600u);
    ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0640), 0);
    EXPECT_EQ(place(real, "newer", true), OutputFile::Placement::placed);
    EXPECT_EQ(modeOf(real), 0640u);

    QFile::remove(real);
    OutputFile dangling(target());
    ASSERT_TRUE(dangling.write("nowhere"));
    EXPECT_EQ(dangling.place(true), OutputFile::Placement::failed);
    EXPECT_EQ(dangling.errorString(), QStringLiteral("it's a link to a file that doesn't exist"));
    EXPECT_TRUE(QFileInfo(target()).isSymLink());
    EXPECT_TRUE(QDir(elsewhere.path()).isEmpty(QDir::Files | QDir::Hidden));
}

TEST_F(OutputFileTest, LeavesNothingBehindWhenNotPlaced)
{
    {
        OutputFile abandoned(target());
        ASSERT_TRUE(abandoned.isOpen());
        ASSERT_TRUE(abandoned.write("half a cutout"));
        EXPECT_EQ(everyFile().size(), 1); // the temporary file
    }
    EXPECT_TRUE(everyFile().isEmpty());
}

TEST_F(OutputFileTest, KnowsAtOnceThatTheFolderCannotTakeIt)
{
    const OutputFile missing(m_dir.filePath(QStringLiteral("no/such/folder/disc-cutout.png")));
    EXPECT_FALSE(missing.isOpen());
    EXPECT_EQ(missing.errorString(), QStringLiteral("the folder doesn't exist"));

    // Both of these were "the folder doesn't exist" too.
    QFile notAFolder(m_dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(notAFolder.open(QIODevice::WriteOnly));
    const OutputFile underAFile(notAFolder.fileName() + QStringLiteral("/disc-cutout.png"));
    EXPECT_FALSE(underAFile.isOpen());
    EXPECT_EQ(underAFile.errorString(), QStringLiteral("part of the path is a file, not a folder"));
    const OutputFile inProc(QStringLiteral("/proc/disc-cutout.png"));
    EXPECT_FALSE(inProc.isOpen());
    EXPECT_EQ(inProc.errorString(), QStringLiteral("that folder doesn't take new files"));
}

TEST_F(OutputFileTest, TakesEveryNameItsFolderTakes)
{
    // A name of 241 to 255 bytes, legal on ext4, was refused: the temporary
    // file's name is 15 bytes longer.
    const long nameMax = ::pathconf(QFile::encodeName(m_dir.path()).constData(), _PC_NAME_MAX);
    ASSERT_GT(nameMax, 20);
    const QString longest = QString(int(nameMax) - 4, u'n') + QStringLiteral(".png");
    const QString shorter = QString(241 - 4, u'n') + QStringLiteral(".png");
    // Two bytes a letter in UTF-8: the temporary name is cut between letters.
    const QString letters = QString(int(nameMax - 4) / 2, QChar(0x00E9)) + QStringLiteral(".png");
    for (const QString& name : {longest, shorter, letters}) {
        SCOPED_TRACE(QFile::encodeName(name).size());
        const QString path = m_dir.filePath(name);
        EXPECT_EQ(OutputFile::folderRefusal(nativePath(path)), QString());
        for (const bool replace : {false, true}) {
            OutputFile file(path);
            ASSERT_TRUE(file.write(replace ? "second" : "first")) << file.errorString().toStdString();
            EXPECT_EQ(file.place(replace), OutputFile::Placement::placed);
        }
        EXPECT_EQ(contents(path), QByteArray("second"));
        EXPECT_EQ(everyFile(), QStringList{name});
        QFile::remove(path);
    }
    EXPECT_EQ(OutputFile::folderRefusal(nativePath(m_dir.filePath(u'n' + longest))), QStringLiteral("the name is too long"));
}


// A replacement renamed the file over a pipe of the name, or over the pipe a
// link led to: the pipe became a file. Only a regular file is replaced, and
// nothing is opened on the way (a pipe would block the writer).
TEST_F(OutputFileTest, NeverReplacesAPipeAFolderOrWhatALinkToThemLeadsTo)
{
    QTemporaryDir elsewhere;
    const QByteArray pipe = QFile::encodeName(elsewhere.filePath(QStringLiteral("pipe")));
    const QByteArray folder = QFile::encodeName(elsewhere.filePath(QStringLiteral("folder")));
    ASSERT_EQ(::mkfifo(pipe.constData(), 0600), 0);
    ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
    const QString notAFile = QStringLiteral("it's a device, a pipe or a socket, not a file, so it isn't replaced");
    const QString aFolder = QStringLiteral("a folder has that name");
    const QByteArray name = QFile::encodeName(target());
    const struct {
        const char* what;
        std::function<int()> make;
        QString reason;
        const char* node; // what must still be a pipe or a folder
    } cases[] = {
        {"a pipe", [&] { return ::mkfifo(name.constData(), 0600); }, notAFile, name.constData()},
        {"a link to a pipe", [&] { return ::symlink(pipe.constData(), name.constData()); }, notAFile, pipe.constData()},
        {"a link to a folder", [&] { return ::symlink(folder.constData(), name.constData()); }, aFolder,
         folder.constData()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(c.make(), 0);
        EXPECT_EQ(OutputFile::replacementRefusal(name.toStdString()), c.reason);
        {
            OutputFile file(target());
            ASSERT_TRUE(file.write("cutout"));
            EXPECT_EQ(file.place(true), OutputFile::Placement::failed);
            EXPECT_EQ(file.errorString(), c.reason);
        }
        struct stat status {};
        ASSERT_EQ(::lstat(c.node, &status), 0);
        EXPECT_TRUE(S_ISFIFO(status.st_mode) || S_ISDIR(status.st_mode)) << "the node is as it was";
        EXPECT_EQ(::unlink(name.constData()), 0);
        EXPECT_TRUE(everyFile().isEmpty()) << "no temporary file left";
        EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
    }
    EXPECT_EQ(OutputFile::replacementRefusal(name.toStdString()), QString()) << "nothing has the name";
}
