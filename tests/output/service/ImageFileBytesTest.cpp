#include "output/service/CutoutService.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    QFile file(writeFile(dir, "small.png", contents));
    EXPECT_EQ(imageFileBytes(file), contents);
}

TEST(ImageFileBytes, StayWholeWhenTheFileIsCutShortAfterwards)
{
    // Bytes mapped from the file would be lost here, and touching them would
    // end the process (SIGBUS).
    QTemporaryDir dir;
    const QByteArray contents(1 << 20, '\x5A');
    QFile file(writeFile(dir, "shrinking.png", contents));
    const QByteArray bytes = imageFileBytes(file);
    QFile other(file.fileName());
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

    QFile file(huge.fileName());
    EXPECT_TRUE(imageFileBytes(file).isEmpty());
    EXPECT_FALSE(loadImageFile(huge.fileName()));
}
