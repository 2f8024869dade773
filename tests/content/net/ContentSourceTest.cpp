#include "content/files/SafePath.h"
#include "content/net/ContentSource.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zephrin {
namespace {

class ContentSourceOrder : public ::testing::Test {
protected:
    void SetUp() override { clear(); }
    void TearDown() override { clear(); }
    static void clear()
    {
        qunsetenv("ZEPHRIN_CONTENT_URL");
        qunsetenv("ZEPHRIN_CONTENT_FOLDER");
    }
    static QUrl folderUrl(const QString& path) { return QUrl::fromLocalFile(path + '/'); }

    QTemporaryDir m_folder;
    QSettings m_settings{m_folder.filePath("settings.ini"), QSettings::IniFormat};
};

TEST_F(ContentSourceOrder, ServersFirstThenTheChosenFolderThenTheInstalledOneThenTheDefault)
{
    const QString bin = m_folder.filePath("bin");
    EXPECT_EQ(contentSource(m_settings, bin), QUrl("http://localhost:8000"));

    // An install: bin/../share/zephrin/content-catalogue; a build tree: bin/content-catalogue.
    ASSERT_TRUE(QDir().mkpath(m_folder.filePath("share/zephrin/content-catalogue")));
    EXPECT_EQ(contentSource(m_settings, bin), folderUrl(m_folder.filePath("share/zephrin/content-catalogue")));
    ASSERT_TRUE(QDir().mkpath(bin + "/content-catalogue"));
    EXPECT_EQ(contentSource(m_settings, bin), folderUrl(bin + "/content-catalogue"));

    ASSERT_TRUE(QDir().mkpath(m_folder.filePath("mine")));
    qputenv("ZEPHRIN_CONTENT_FOLDER", m_folder.filePath("mine").toUtf8());
    EXPECT_EQ(contentSource(m_settings, bin), folderUrl(m_folder.filePath("mine")));

    m_settings.setValue("contentBaseURL", "https://content.example.org/app");
    EXPECT_EQ(contentSource(m_settings, bin), QUrl("https://content.example.org/app"));
    qputenv("ZEPHRIN_CONTENT_URL", "http://127.0.0.1:9000/");
    EXPECT_EQ(contentSource(m_settings, bin), QUrl("http://127.0.0.1:9000/"));
}

TEST_F(ContentSourceOrder, IgnoresServersThatAreNotWebServersAndFoldersThatAreNotThere)
{
    const QString bin = m_folder.filePath("bin");
    // The build's link to a catalogue not built yet.
    ASSERT_TRUE(QDir().mkpath(bin));
    ASSERT_TRUE(QFile::link(m_folder.filePath("not-built"), bin + "/content-catalogue"));
    qputenv("ZEPHRIN_CONTENT_URL", "file:///etc");
    m_settings.setValue("contentBaseURL", "not a url at all");
    EXPECT_EQ(contentSource(m_settings, bin), QUrl("http://localhost:8000"));

    // A chosen folder that is missing hides the installed one.
    ASSERT_TRUE(QDir().mkpath(m_folder.filePath("share/zephrin/content-catalogue")));
    qputenv("ZEPHRIN_CONTENT_FOLDER", m_folder.filePath("missing").toUtf8());
    EXPECT_EQ(contentSource(m_settings, bin), QUrl("http://localhost:8000"));
}

TEST(ContentResourceBase, AppendsTheFolderWithOneSlashEachSide)
{
    EXPECT_EQ(contentResourceBase(QUrl("http://h:1"), "zephrin/fonts"), QUrl("http://h:1/zephrin/fonts/"));
    EXPECT_EQ(contentResourceBase(QUrl("http://h/app//?x=1#y"), "zephrin/backdrops"),
              QUrl("http://h/app/zephrin/backdrops/"));
    EXPECT_EQ(contentResourceBase(QUrl::fromLocalFile("/opt/my catalogue/"), "zephrin/fonts"),
              QUrl::fromLocalFile("/opt/my catalogue/zephrin/fonts/"));
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
