// The texts the backdrop pickers build from data, and the My Backgrounds
// filters and selection.

#include "pickers/backdrops/BackdropTexts.h"
#include "pickers/backdrops/MyBackgroundsFilters.h"

#include <gtest/gtest.h>

namespace zephrin {
namespace {

using namespace backdroptexts;

TEST(BackdropTexts, PhotoNamesReadUnderscoresAsSpacesAndCapitaliseEachWord)
{
    EXPECT_EQ(photoDisplayName("old_brick_WALL"), "Old Brick Wall");
    EXPECT_EQ(photoDisplayName("misty lake"), "Misty Lake");
    EXPECT_EQ(photoDisplayName("BEACH"), "Beach");
    EXPECT_EQ(photoDisplayName("a__b"), "A  B");
    EXPECT_EQ(photoDisplayName(""), "");
}

TEST(BackdropTexts, CountLinesAgreeWithTheirNumber)
{
    EXPECT_EQ(photoCountLine(1), "1 background. Each downloads the first time you use it. "
                                 "Right-click to keep one in My Backgrounds.");
    EXPECT_TRUE(photoCountLine(0).startsWith("0 backgrounds."));
    EXPECT_EQ(selectedLine(0), "0 selected");
    EXPECT_EQ(deleteAllTitle(12), "Move all 12 backgrounds to the Trash?");
    // The size as file managers write it, summed over the library.
    EXPECT_EQ(libraryLine(0, 0), "0 backgrounds · Zero KB");
    EXPECT_EQ(libraryLine(3, 1'234'567), "3 backgrounds · 1.2 MB");
    EXPECT_EQ(libraryLine(1, 999), "1 background · 999 bytes");
}

TEST(BackdropTexts, CustomColourRowsFollowTheShape)
{
    EXPECT_EQ(customColorLabels(CustomBackdropShape::fade), QStringList({"Top", "Bottom"}));
    EXPECT_EQ(customColorLabels(CustomBackdropShape::spotlight), QStringList({"Center", "Edge"}));
}

MyBackground item(const QString& id, const QString& source, bool favorite = false, qint64 bytes = 100)
{
    MyBackground record;
    record.id = id;
    record.name = id;
    record.source = source;
    record.favorite = favorite;
    record.bytes = bytes;
    return record;
}

QStringList ids(const QList<MyBackground>& items)
{
    QStringList list;
    for (const MyBackground& record : items)
        list << record.id;
    return list;
}

TEST(MyBackgroundsFilters, ChipsAndWhatEachShows)
{
    const QList<MyBackground> library{item("a", "imported", true), item("b", "saved"), item("c", "generated"),
                                      item("d", "other", true)};
    EXPECT_EQ(mybackgrounds::filters(library), QStringList({"All", "Favorites", "Imported", "Saved", "Generated"}));
    EXPECT_EQ(mybackgrounds::filters(library.mid(0, 2)), QStringList({"All", "Favorites", "Imported", "Saved"}));
    EXPECT_EQ(mybackgrounds::filters({}), QStringList({"All", "Favorites", "Imported", "Saved"}));

    EXPECT_EQ(ids(mybackgrounds::visibleItems(library, "All")), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(ids(mybackgrounds::visibleItems(library, "Favorites")), QStringList({"a", "d"}));
    EXPECT_EQ(ids(mybackgrounds::visibleItems(library, "Imported")), QStringList({"a"}));
    EXPECT_EQ(ids(mybackgrounds::visibleItems(library, "Saved")), QStringList({"b"}));
    EXPECT_EQ(ids(mybackgrounds::visibleItems(library, "Generated")), QStringList({"c"}));
    // A source the chips don't name shows only under "All"; an unknown filter shows all.
    EXPECT_EQ(ids(mybackgrounds::visibleItems(library, "Whatever")), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(mybackgrounds::totalBytes(library), 400);
}

TEST(MyBackgroundsFilters, TheSelectionKeepsOnlyItemsThatExist)
{
    const QList<MyBackground> library{item("a", "saved"), item("b", "saved")};
    EXPECT_EQ(mybackgrounds::pruned({"a", "gone"}, library), QSet<QString>({"a"}));
    EXPECT_TRUE(mybackgrounds::pruned({"a", "b"}, {}).isEmpty());
    EXPECT_TRUE(mybackgrounds::pruned({}, library).isEmpty());
}

} // namespace
} // namespace zephrin
