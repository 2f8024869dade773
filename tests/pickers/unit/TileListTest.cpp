// The picker grids' tile list: a new list reaches the views as rows that go,
// rows that come and rows that change, so the tiles that stay keep their
// delegates and thumbnails.

#include "pickers/backdrops/TileList.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace zephrin {
namespace {

QList<Tile> tiles(const QString& ids)
{
    QList<Tile> list;
    for (const QChar id : ids)
        list.append({id, QString(id), QString(id), false});
    return list;
}

QString ids(const TileList& list)
{
    QString result;
    for (const Tile& tile : list.tiles())
        result += tile.id;
    return result;
}

TEST(TileList, ChangesRowsInPlaceAndResetsOnlyForANewOrder)
{
    struct Case {
        const char* from;
        const char* to;
        int removed;
        int inserted;
        bool reset;
    };
    const Case cases[] = {
        {"ABCDEF", "BE", 4, 0, false},     // a filter
        {"BE", "ABCDEF", 0, 4, false},     // back to all
        {"ABCD", "ACD", 1, 0, false},      // a delete
        {"ACD", "XACDY", 0, 2, false},     // added at both ends
        {"ABC", "CBA", 0, 0, true},        // another order
        {"", "AB", 0, 2, false},
    };
    for (const Case& c : cases) {
        TileList list;
        list.setTiles(tiles(c.from));
        QSignalSpy removed(&list, &TileList::rowsRemoved);
        QSignalSpy inserted(&list, &TileList::rowsInserted);
        QSignalSpy reset(&list, &TileList::modelReset);
        list.setTiles(tiles(c.to));
        EXPECT_EQ(ids(list), QString(c.to)) << c.from << " → " << c.to;
        EXPECT_EQ(removed.count(), c.removed) << c.from << " → " << c.to;
        EXPECT_EQ(inserted.count(), c.inserted) << c.from << " → " << c.to;
        EXPECT_EQ(reset.count(), c.reset ? 1 : 0) << c.from << " → " << c.to;
    }

    // A rename changes the data of its row alone.
    TileList list;
    list.setTiles(tiles("ABC"));
    QSignalSpy changed(&list, &TileList::dataChanged);
    QList<Tile> renamed = tiles("ABC");
    renamed[1].name = "Bee";
    list.setTiles(renamed);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].value<QModelIndex>().row(), 1);
    EXPECT_EQ(list.data(list.index(1), TileList::NameRole).toString(), "Bee");
}

} // namespace
} // namespace zephrin
