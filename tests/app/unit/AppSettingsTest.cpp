#include "app/shell/AppSettings.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zephrin {
namespace {

class AppSettingsTest : public ::testing::Test {
protected:
    QTemporaryDir m_folder;
    QString m_file = m_folder.filePath(QStringLiteral("settings.ini"));

    QSettings stored() const { return QSettings(m_file, QSettings::IniFormat); }
};

TEST_F(AppSettingsTest, ShowsDefaultsWithoutWritingThem)
{
    AppSettings settings(m_file, true);
    EXPECT_TRUE(settings.autoSubjectOnImport());
    EXPECT_EQ(settings.defaultExportFormat(), QStringLiteral("PNG"));
    EXPECT_EQ(settings.defaultLongEdge(), 2400);
    EXPECT_TRUE(stored().allKeys().isEmpty());
}

TEST_F(AppSettingsTest, WritesAKeyWhenTheUserChoosesEvenTheDefault)
{
    AppSettings settings(m_file, true);
    QSignalSpy changed(&settings, &AppSettings::defaultLongEdgeChanged);
    settings.setDefaultLongEdge(2400);
    EXPECT_EQ(stored().value(QStringLiteral("defaultLongEdge")).toInt(), 2400);
    settings.setDefaultLongEdge(2400);  // stored already: nothing more
    EXPECT_EQ(changed.count(), 1);
    settings.setAutoSubjectOnImport(false);
    EXPECT_FALSE(stored().value(QStringLiteral("autoSubjectOnImport")).toBool());
}

TEST_F(AppSettingsTest, KeepsAStoredValueThatMatchesNoChoice)
{
    {
        QSettings file(m_file, QSettings::IniFormat);
        file.setValue(QStringLiteral("defaultExportFormat"), QStringLiteral("TIFF"));
        file.setValue(QStringLiteral("defaultLongEdge"), 999);
    }
    AppSettings settings(m_file, true);
    EXPECT_EQ(settings.defaultExportFormat(), QStringLiteral("TIFF"));
    EXPECT_EQ(settings.defaultLongEdge(), 999);
    EXPECT_FALSE(settings.formatChoices().contains(QStringLiteral("TIFF")));
    EXPECT_EQ(settings.formatChoices(), (QStringList{"PNG", "JPG", "WebP", "HEIC", "SVG"}));
}

TEST_F(AppSettingsTest, ReadsTheModelsNoticeAndLicence)
{
    AppSettings settings(m_file, true);
    EXPECT_TRUE(settings.isnetNotice().contains(QStringLiteral("IS-Net")));
    EXPECT_TRUE(settings.isnetLicense().contains(QStringLiteral("Apache License")));
    EXPECT_TRUE(AppSettings::resourceText(QStringLiteral("no-such-text")).isEmpty());
}

} // namespace
} // namespace zephrin
