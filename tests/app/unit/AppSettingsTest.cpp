#include "app/shell/AppSettings.h"

#include "engine/types/RawEnum.h"

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

// A damaged stored default is kept, but the window shows what the export
// sheet and the batch use in its place.
TEST_F(AppSettingsTest, ADamagedDefaultShowsWhatTheExportUses)
{
    struct Case {
        QVariant format;
        QVariant longEdge;
        QString shownFormat;
        int shownLongEdge;
    };
    const Case cases[] = {
        {QStringLiteral("../../evil"), QStringLiteral("-2147483648"), QStringLiteral("PNG"), 2400},
        {QStringLiteral("TIFF"), 0, QStringLiteral("PNG"), 2400},
        {QStringLiteral("png"), QStringLiteral("2400px"), QStringLiteral("PNG"), 2400},
        {QString(), QStringLiteral("99999999999"), QStringLiteral("PNG"), 2400},
        {QStringLiteral("WebP"), 999, QStringLiteral("WebP"), 999},  // no choice, but used as it is
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format.toString().toStdString() + " / " + c.longEdge.toString().toStdString());
        {
            QSettings file(m_file, QSettings::IniFormat);
            file.setValue(QStringLiteral("defaultExportFormat"), c.format);
            file.setValue(QStringLiteral("defaultLongEdge"), c.longEdge);
        }
        AppSettings settings(m_file, true);
        EXPECT_EQ(settings.defaultExportFormat(), c.shownFormat);
        EXPECT_EQ(settings.defaultLongEdge(), c.shownLongEdge);
        EXPECT_EQ(rawValue(settings.exportFormatDefault()), c.shownFormat);
        EXPECT_EQ(settings.longEdgeDefault(), c.shownLongEdge);
        // Kept until the user chooses.
        EXPECT_EQ(stored().value(QStringLiteral("defaultExportFormat")).toString(), c.format.toString());
        EXPECT_EQ(stored().value(QStringLiteral("defaultLongEdge")).toString(), c.longEdge.toString());
    }
}

// Choosing the value shown in place of a damaged one stores it; a value that
// is no choice at all is not stored.
TEST_F(AppSettingsTest, AChoiceReplacesADamagedValueAndNothingElseDoes)
{
    {
        QSettings file(m_file, QSettings::IniFormat);
        file.setValue(QStringLiteral("defaultExportFormat"), QStringLiteral("../../evil"));
        file.setValue(QStringLiteral("defaultLongEdge"), -5);
    }
    AppSettings settings(m_file, true);
    QSignalSpy formatChanged(&settings, &AppSettings::defaultExportFormatChanged);
    settings.setDefaultExportFormat(QStringLiteral("PNG"));
    settings.setDefaultLongEdge(2400);
    EXPECT_EQ(stored().value(QStringLiteral("defaultExportFormat")).toString(), QStringLiteral("PNG"));
    EXPECT_EQ(stored().value(QStringLiteral("defaultLongEdge")).toInt(), 2400);

    settings.setDefaultExportFormat(QStringLiteral("../../evil"));
    settings.setDefaultLongEdge(-2147483647 - 1);
    EXPECT_EQ(stored().value(QStringLiteral("defaultExportFormat")).toString(), QStringLiteral("PNG"));
    EXPECT_EQ(stored().value(QStringLiteral("defaultLongEdge")).toInt(), 2400);
    EXPECT_EQ(formatChanged.count(), 1);
    settings.setDefaultExportFormat(QStringLiteral("HEIC"));
    EXPECT_EQ(formatChanged.count(), 2);
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
