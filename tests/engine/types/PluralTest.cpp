#include "engine/types/Plural.h"

#include <gtest/gtest.h>

using namespace zephrin;

TEST(Plural, OnlyOneTakesTheSingular)
{
    struct Case {
        qint64 n;
        const char16_t* one;
        const char16_t* many;  // nullptr: one + "s"
        const char* counted;
        const char* word;
    };
    const Case cases[] = {
        {0, u"font", nullptr, "0 fonts", "fonts"},
        {1, u"font", nullptr, "1 font", "font"},
        {2, u"font", nullptr, "2 fonts", "fonts"},
        {-1, u"font", nullptr, "-1 fonts", "fonts"},
        {11, u"background", nullptr, "11 backgrounds", "backgrounds"},
        {21, u"background", nullptr, "21 backgrounds", "backgrounds"},
        {1, u"copy", u"copies", "1 copy", "copy"},
        {2, u"copy", u"copies", "2 copies", "copies"},
        {0, u"copy", u"copies", "0 copies", "copies"},
        {10'000'000'000, u"pixel", nullptr, "10000000000 pixels", "pixels"},
    };
    for (const Case& c : cases) {
        const QStringView many = c.many ? QStringView(c.many) : QStringView();
        EXPECT_EQ(plural::count(c.n, c.one, many), QString::fromUtf8(c.counted)) << c.counted;
        EXPECT_EQ(plural::word(c.n, c.one, many), QString::fromUtf8(c.word)) << c.counted;
    }
}
