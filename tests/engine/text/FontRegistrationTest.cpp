#include "engine/text/FontRegistration.h"
#include "engine/text/FontsFolder.h"

#include "engine/text/FontFixtures.h"
#include "support/GuiApplication.h"

#include <QDir>
#include <QFontDatabase>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zephrin;
using namespace zephrin::testing;

namespace {

class FontRegistrationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureGuiApplication();
        ASSERT_TRUE(folder.isValid());
    }

    QString path(const QString& relative) const { return folder.filePath(relative); }

    static bool isKnown(const RenamedFont& font)
    {
        return QFontDatabase::families().contains(font.family);
    }

    QTemporaryDir folder;
};

} // namespace

TEST_F(FontRegistrationTest, RegistersTtfAndOtfInAnyLetterCaseAtAnyDepth)
{
    const auto top = writeRenamedFont(path(QStringLiteral("Top.otf")));
    const auto upper = writeRenamedFont(path(QStringLiteral("family/deeper/Upper.OTF")));
    const auto mixed = writeRenamedFont(path(QStringLiteral("family/Mixed.TtF")));

    FontRegistration(folder.path()).registerOnce();

    EXPECT_TRUE(isKnown(top));
    EXPECT_TRUE(isKnown(upper));
    EXPECT_TRUE(isKnown(mixed));
}

TEST_F(FontRegistrationTest, SkipsFilesWithOtherExtensions)
{
    // Valid font data under names the folder scan must not take.
    const auto web = writeRenamedFont(path(QStringLiteral("Web.woff")));
    const auto backup = writeRenamedFont(path(QStringLiteral("Backup.otf.bak")));
    const auto bare = writeRenamedFont(path(QStringLiteral("otf")));

    FontRegistration(folder.path()).registerOnce();

    EXPECT_FALSE(isKnown(web));
    EXPECT_FALSE(isKnown(backup));
    EXPECT_FALSE(isKnown(bare));
}

TEST_F(FontRegistrationTest, SecondCallDoesNotReadTheFolderAgain)
{
    FontRegistration registration(folder.path());
    const auto first = writeRenamedFont(path(QStringLiteral("First.otf")));
    registration.registerOnce();
    ASSERT_TRUE(isKnown(first));

    const auto later = writeRenamedFont(path(QStringLiteral("Later.otf")));
    registration.registerOnce();
    EXPECT_FALSE(isKnown(later));
}

TEST_F(FontRegistrationTest, MissingFolderIsNotLookedAtAgain)
{
    const QString missing = path(QStringLiteral("not-yet"));
    FontRegistration registration(missing);
    registration.registerOnce();

    const auto arrived = writeRenamedFont(missing + QStringLiteral("/Arrived.otf"));
    registration.registerOnce();
    EXPECT_FALSE(isKnown(arrived));
}

TEST(FontsFolder, LiesInTheUsersDataFolderAndIsNotCreated)
{
    QTemporaryDir dataHome;
    ASSERT_TRUE(dataHome.isValid());
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));

    const QString folder = fontsFolder();

    if (wasSet)
        qputenv("XDG_DATA_HOME", saved);
    else
        qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(folder, dataHome.filePath(QStringLiteral("Zephrin/Fonts")));
    EXPECT_FALSE(QDir(folder).exists());
}
