#include "controls/ValueText.h"

#include <QLocale>

#include <cmath>

#include <gtest/gtest.h>

namespace zephrin::valuetext {
namespace {

TEST(ValueText, SnapsToTheStepBeforeFormatting)
{
    // 0.57 in binary is 56.99999… percent: snapping first keeps it 57.
    EXPECT_EQ(percent(snapped(0.57 * 100, 1)), QStringLiteral("57%"));
    EXPECT_EQ(snapped(12.5, 5), 15);
    EXPECT_EQ(snapped(-12.5, 5), -15);
    EXPECT_EQ(snapped(3.3, 0), 3.3);
}

TEST(ValueText, RoundsHalvesAwayFromZeroOrTruncatesWhenAsked)
{
    EXPECT_EQ(rounded(12.5), QStringLiteral("13"));
    EXPECT_EQ(rounded(-12.5), QStringLiteral("-13"));
    EXPECT_EQ(truncated(12.9), QStringLiteral("12"));
    EXPECT_EQ(truncated(-12.9), QStringLiteral("-12"));
    EXPECT_EQ(pixels(13.5), QStringLiteral("14 px"));
}

TEST(ValueText, NeverShowsNegativeZero)
{
    EXPECT_EQ(rounded(-0.4), QStringLiteral("0"));
    EXPECT_EQ(truncated(-0.9), QStringLiteral("0"));
    EXPECT_EQ(number(-0.001, 2), QStringLiteral("0.00"));
    EXPECT_EQ(signedEV(-0.004), QStringLiteral("+0.00 EV"));
    EXPECT_EQ(percent(-0.2), QStringLiteral("0%"));
    EXPECT_EQ(snapped(-0.2, 1), 0.0);
    EXPECT_FALSE(std::signbit(snapped(-0.2, 1)));
}

TEST(ValueText, WritesSignedExposureAndOff)
{
    EXPECT_EQ(signedEV(0.5), QStringLiteral("+0.50 EV"));
    EXPECT_EQ(signedEV(-1.25), QStringLiteral("-1.25 EV"));
    EXPECT_EQ(offOr(0, QStringLiteral("12 px")), QStringLiteral("Off"));
    EXPECT_EQ(offOr(12, QStringLiteral("12 px")), QStringLiteral("12 px"));
    EXPECT_EQ(dimensions(1200, 800), QStringLiteral("1200 × 800"));
}

TEST(ValueText, PanelReadOutsCutTowardZero)
{
    EXPECT_EQ(wholeWith(12, 1, QStringLiteral(" px")), QStringLiteral("12 px"));
    EXPECT_EQ(wholeWith(-12, 1, QStringLiteral(" px")), QStringLiteral("-12 px"));
    EXPECT_EQ(wholeWith(0.55 * 100, 5, QStringLiteral("%")), QStringLiteral("55%"));
    EXPECT_EQ(signedWhole(12, 1, QStringLiteral("%")), QStringLiteral("+12%"));
    EXPECT_EQ(signedWhole(-0.4, 0, QString()), QStringLiteral("+0"));
    EXPECT_EQ(signedWhole(-5, 1, QString()), QStringLiteral("-5"));
    EXPECT_EQ(offBelowHalf(0.49, QStringLiteral("0 px")), QStringLiteral("Off"));
    EXPECT_EQ(offBelowHalf(1, QStringLiteral("1 px")), QStringLiteral("1 px"));
    EXPECT_EQ(truncatedDimensions(199.9, 100), QStringLiteral("199 × 100"));
}

TEST(ValueText, WritesFileSizesInDecimalUnits)
{
    EXPECT_EQ(fileSize(0), QStringLiteral("Zero KB"));
    EXPECT_EQ(fileSize(1), QStringLiteral("1 byte"));
    EXPECT_EQ(fileSize(999), QStringLiteral("999 bytes"));
    EXPECT_EQ(fileSize(1000), QStringLiteral("1 KB"));
    EXPECT_EQ(fileSize(466706), QStringLiteral("467 KB"));
    EXPECT_EQ(fileSize(999499), QStringLiteral("999 KB"));
    EXPECT_EQ(fileSize(999500), QStringLiteral("1 MB"));
    EXPECT_EQ(fileSize(2'400'000), QStringLiteral("2.4 MB"));
    EXPECT_EQ(fileSize(12'000'000), QStringLiteral("12 MB"));
    EXPECT_EQ(fileSize(1'250'000'000), QStringLiteral("1.25 GB"));
}

TEST(ValueText, IgnoresTheUsersLocale)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(number(1.5, 2), QStringLiteral("1.50"));
    EXPECT_EQ(fileSize(2'400'000), QStringLiteral("2.4 MB"));
    QLocale::setDefault(QLocale::c());
}

} // namespace
} // namespace zephrin::valuetext
