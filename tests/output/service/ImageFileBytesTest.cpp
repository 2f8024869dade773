#include "output/service/CutoutService.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zephrin;
using namespace zephrin::CutoutService;

TEST(ImageFileBytes, GivesTheWholeFileReadOrMapped)
{
    QTemporaryDir dir;
    const QByteArray contents("\x89PNG and then some", 18);
    QFile write(dir.filePath("small.png"));
    ASSERT_TRUE(write.open(QIODevice::WriteOnly));
    write.write(contents);
    write.close();

    for (const FileAccess access : {FileAccess::read, FileAccess::mapped}) {
        QFile file(write.fileName());
        EXPECT_EQ(imageFileBytes(file, access), contents);
    }
}

TEST(ImageFileBytes, RefusesAFileLargerThanTheLimitUnread)
{
    // Sparse: no disk space is used, and reading it would take 2 GiB of memory.
    QTemporaryDir dir;
    QFile huge(dir.filePath("huge.png"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(kMaxImageFileBytes + 1));
    huge.close();

    for (const FileAccess access : {FileAccess::read, FileAccess::mapped}) {
        QFile file(huge.fileName());
        EXPECT_TRUE(imageFileBytes(file, access).isEmpty());
    }
    EXPECT_FALSE(loadImageFile(huge.fileName()));
}
