#include "content/files/SafePath.h"
#include "content/net/ContentServer.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zephrin {
namespace {

class ContentServerAddress : public ::testing::Test {
protected:
    void SetUp() override { qunsetenv("ZEPHRIN_CONTENT_URL"); }
    void TearDown() override { qunsetenv("ZEPHRIN_CONTENT_URL"); }

    QTemporaryDir m_folder;
    QSettings m_settings{m_folder.filePath("settings.ini"), QSettings::IniFormat};
};

TEST_F(ContentServerAddress, ComesFromTheEnvironmentThenTheSettingThenTheDefault)
{
    EXPECT_EQ(contentServerAddress(m_settings), QUrl("http://localhost:8000"));
    m_settings.setValue("contentBaseURL", "https://content.example.org/app");
    EXPECT_EQ(contentServerAddress(m_settings), QUrl("https://content.example.org/app"));
    qputenv("ZEPHRIN_CONTENT_URL", "http://127.0.0.1:9000/");
    EXPECT_EQ(contentServerAddress(m_settings), QUrl("http://127.0.0.1:9000/"));
}

TEST_F(ContentServerAddress, IgnoresAddressesThatAreNotWebServers)
{
    qputenv("ZEPHRIN_CONTENT_URL", "file:///etc");
    m_settings.setValue("contentBaseURL", "not a url at all");
    EXPECT_EQ(contentServerAddress(m_settings), QUrl("http://localhost:8000"));
}

TEST(ContentResourceBase, AppendsTheFolderWithOneSlashEachSide)
{
    EXPECT_EQ(contentResourceBase(QUrl("http://h:1"), "zephrin/fonts"), QUrl("http://h:1/zephrin/fonts/"));
    EXPECT_EQ(contentResourceBase(QUrl("http://h/app//?x=1#y"), "zephrin/backdrops"),
              QUrl("http://h/app/zephrin/backdrops/"));
}

TEST(SafePath, AcceptsOnlyRelativePathsThatStayInside)
{
    for (const char* good : {"a.otf", "family/Face Bold.otf", "x/y/z #1?.ttf", "...", "a..b"})
        EXPECT_TRUE(isSafeRelativePath(QString::fromUtf8(good))) << good;
    for (const char* bad : {"", "/abs.otf", "../up.otf", "a/../../b", "a//b", "a/./b", "a\\b", "a/", ".",
                            "tab\there", "nul\x01"})
        EXPECT_FALSE(isSafeRelativePath(QString::fromUtf8(bad))) << bad;
    EXPECT_FALSE(isSafeName(u"a/b"));
    EXPECT_EQ(pathInside("/data/Fonts", u"f/a.otf"), std::optional<QString>("/data/Fonts/f/a.otf"));
    EXPECT_EQ(pathInside("/data/Fonts", u"../Fonts2/a.otf"), std::nullopt);
}

TEST(SafePath, PercentEncodesEveryComponentOfAUrl)
{
    const QUrl base("http://h/zephrin/fonts/");
    EXPECT_EQ(urlInside(base, u"f/Face #1?.otf")->toString(QUrl::FullyEncoded),
              "http://h/zephrin/fonts/f/Face%20%231%3F.otf");
    EXPECT_EQ(urlInside(base, u"../x"), std::nullopt);
}

} // namespace
} // namespace zephrin
