#include "content/files/AtomicWrite.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
