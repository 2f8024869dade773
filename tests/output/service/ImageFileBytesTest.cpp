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
    const QByteArray contents("\x89PNG and then some", 18);
    EXPECT_EQ(imageFileBytes(nativePath(writeFile(dir, "small.png", contents))), contents);
}

TEST(ImageFileBytes, ReadsANameThatIsNoUtf8)
{
    // "café.png" in Latin-1: no QString names it.
    QTemporaryDir dir;
    const std::filesystem::path path = nativePath(dir.path()) / "caf\xE9.png";
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(descriptor, 0);
    ASSERT_EQ(::write(descriptor, "latin", 5), 5);
    ::close(descriptor);
    EXPECT_FALSE(isTextPath(path));
    EXPECT_EQ(imageFileBytes(path), QByteArray("latin"));
    // Carried in a URL and back, every byte stays.
    EXPECT_EQ(nativePath(fileUrl(path)), path);
    EXPECT_EQ(nativePath(QUrl(fileUrl(path).toString())), path);
}

TEST(ImageFileBytes, StayWholeWhenTheFileIsCutShortAfterwards)
{
    // Bytes mapped from the file would be lost here, and touching them would
    // end the process (SIGBUS).
    QTemporaryDir dir;
    const QByteArray contents(1 << 20, '\x5A');
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
