#include "output/service/CutoutService.h"
#include "output/service/NativePath.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zephrin;
using namespace zephrin::CutoutService;

namespace {

QString writeFile(const QTemporaryDir& dir, const char* name, const QByteArray& contents)
{
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
    return file.fileName();
}

} // namespace

TEST(ImageFileBytes, GivesTheWholeFile)
{
    QTemporaryDir dir;
    const QByteArray contents("\x89PNG\r\n\x1a\n and then some", 22);
    EXPECT_EQ(imageFileBytes(nativePath(writeFile(dir, "small.png", contents))), contents);
}

TEST(ImageFileBytes, ReadsANameThatIsNoUtf8)
{
    // "café.png" in Latin-1: no QString names it.
    QTemporaryDir dir;
    const std::filesystem::path path = nativePath(dir.path()) / "caf\xE9.png";
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(descriptor, 0);
    ASSERT_EQ(::write(descriptor, "\xff\xd8latin", 7), 7);
    ::close(descriptor);
    EXPECT_FALSE(isTextPath(path));
    EXPECT_EQ(imageFileBytes(path), QByteArray("\xff\xd8latin"));
    // Carried in a URL and back, every byte stays.
    EXPECT_EQ(nativePath(fileUrl(path)), path);
    EXPECT_EQ(nativePath(QUrl(fileUrl(path).toString())), path);
}

TEST(ImageFileBytes, StayWholeWhenTheFileIsCutShortAfterwards)
{
    // Bytes mapped from the file would be lost here, and touching them would
    // end the process (SIGBUS).
    QTemporaryDir dir;
    const QByteArray contents = QByteArray("\xff\xd8") + QByteArray((1 << 20) - 2, '\x5A');
    const QString name = writeFile(dir, "shrinking.png", contents);
    const QByteArray bytes = imageFileBytes(nativePath(name));
    QFile other(name);
    ASSERT_TRUE(other.open(QIODevice::ReadWrite));
    ASSERT_TRUE(other.resize(0));
    EXPECT_EQ(bytes, contents);
}

TEST(ImageFileBytes, RefusesAFileLargerThanTheLimitUnread)
{
    // Sparse: no disk space is used, and reading it would take 2 GiB of memory.
    QTemporaryDir dir;
    QFile huge(dir.filePath("huge.png"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(kMaxImageFileBytes + 1));
    huge.close();

    EXPECT_TRUE(imageFileBytes(nativePath(huge.fileName())).isEmpty());
    EXPECT_FALSE(loadImageFile(nativePath(huge.fileName())));
}

TEST(ImageFileBytes, GivesNoneForAFileWhoseFirstBytesNoReaderTakes)
{
    // The batch's source preview read each of these whole, however large.
    QTemporaryDir dir;
    const QByteArray heads[] = {
        QByteArray("Remember the milk.\n"),
        QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(64, 'g'),
        QByteArray("\xff\xd8\xff") + QByteArray("Remember the milk.\n"),
        QByteArray("II*\0\x08\0\0\0", 8),
    };
    for (const QByteArray& head : heads) {
        SCOPED_TRACE(head.toStdString());
        QFile file(dir.filePath("large.png"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(head), head.size());
        ASSERT_TRUE(file.resize(qint64(64) << 20));
        file.close();
        EXPECT_TRUE(imageFileBytes(nativePath(file.fileName())).isEmpty());
    }
}
