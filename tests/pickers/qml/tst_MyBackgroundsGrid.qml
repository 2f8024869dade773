import QtQuick
import QtTest
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Pickers
import Zephrin.TestSupport

// My Backgrounds: the empty library, filters, selection mode and its
// header, badges, the selection kept to items that still exist, the question
// before a delete, and thumbnails that stay through filters and deletes in a
// scrolled view.
Item {
    id: root
    width: 300
    height: 900

    Component {
        id: gridComponent
        MyBackgroundsGrid { width: 280 }
    }

    // The grid below other controls in a scrolling view, as in the inspector.
    Component {
        id: scrolledComponent
        Flickable {
            width: 300
            height: 320
            contentHeight: column.height
            Column {
                id: column
                width: 300
                Item { width: 300; height: 500 }
                MyBackgroundsGrid { width: 280 }
            }
        }
    }

    TestCase {
        name: "MyBackgroundsGrid"
        when: windowShown

        function find(item, name) {
            if (!item)
                return null
            if (item.objectName === name)
                return item
            for (let i = 0; i < item.children.length; ++i) {
                const found = find(item.children[i], name)
                if (found)
                    return found
            }
            return null
        }

        function cleanup() {
            BackdropDriver.clearMyBackgrounds()
        }

        function test_anEmptyLibraryShowsTheChipsAndTheHintOnly() {
            const grid = createTemporaryObject(gridComponent, root)
            compare(grid.gridState.filters, ["All", "Favorites", "Imported", "Saved"])
            verify(find(grid, "myEmptyHint").visible)
            verify(!find(grid, "myHeader").visible)
            verify(!find(grid, "myNothingHere").visible)
            verify(!find(grid, "myTiles").visible)
            verify(!find(grid, "myFooter").visible)
        }

        function test_filtersCountTheWholeLibrary() {
            BackdropDriver.addMyBackground("Sea", "imported", true)
            BackdropDriver.addMyBackground("Desk", "saved")
            BackdropDriver.addMyBackground("Glow", "generated")
            const grid = createTemporaryObject(gridComponent, root)
            compare(grid.gridState.filters, ["All", "Favorites", "Imported", "Saved", "Generated"])
            const header = find(grid, "myHeaderText")
            verify(header.text.startsWith("3 backgrounds · "))
            mouseClick(find(grid, "chip:Favorites"))
            compare(grid.gridState.tiles.count, 1)
            verify(header.text.startsWith("3 backgrounds · "))
            verify(!find(grid, "myNothingHere").visible)
            mouseClick(find(grid, "chip:Generated"))
            compare(grid.gridState.tiles.count, 1)
        }

        function test_aFilterThatShowsNothingLeavesNoRoomForTiles() {
            BackdropDriver.addMyBackground("Desk", "saved")
            const grid = createTemporaryObject(gridComponent, root)
            waitForRendering(grid)
            verify(find(grid, "myTiles").height > 0)
            mouseClick(find(grid, "chip:Favorites"))
            waitForRendering(grid)
            verify(find(grid, "myNothingHere").visible)
            compare(find(grid, "myTiles").height, 0)
        }

        function test_selectionModeChecksTilesAndPrunesDeletedOnes() {
            const sea = BackdropDriver.addMyBackground("Sea", "saved", true)
            const desk = BackdropDriver.addMyBackground("Desk", "saved")
            const grid = createTemporaryObject(gridComponent, root)
            waitForRendering(grid)  // the tiles in their places
            const seaTile = find(grid, "my:" + sea)
            compare(seaTile.badge, "heart")
            mouseClick(find(grid, "mySelect"))
            verify(grid.gridState.selecting)
            compare(find(grid, "myHeaderText").text, "0 selected")
            verify(!find(grid, "myFavoriteSelection").enabled)
            verify(!find(grid, "myDeleteSelection").enabled)
            verify(find(grid, "myDone").enabled)
            compare(seaTile.badge, "unchecked")

            mouseClick(seaTile)
            mouseClick(find(grid, "my:" + desk))
            compare(find(grid, "myHeaderText").text, "2 selected")
            compare(seaTile.badge, "checked")
            verify(seaTile.ringed)
            compare(find(seaTile, "caption").color, Qt.color("#A89DB8"))
            verify(find(grid, "myDeleteSelection").enabled)
            compare(Editor.backdropID.indexOf("my:"), -1)

            // Trashing a checked tile from its menu takes it out of the count.
            grid.gridState.moveToTrash(sea)
            compare(find(grid, "myHeaderText").text, "1 selected")
            mouseClick(find(grid, "myDone"))
            verify(!grid.gridState.selecting)
            compare(grid.gridState.selection.length, 0)
        }

        // The tiles whose picture area lies in the scrolling view's window.
        function tilesInView(view, ids) {
            const tiles = []
            for (const id of ids) {
                const tile = find(view, "my:" + id)
                if (!tile || !tile.visible)
                    continue
                const top = tile.mapToItem(view, 0, 0).y
                if (top + tile.pictureHeight > 0 && top < view.height)
                    tiles.push(tile)
            }
            return tiles
        }

        function verifyPictures(view, ids) {
            const tiles = tilesInView(view, ids)
            verify(tiles.length >= 3, "tiles in view: " + tiles.length)
            for (const tile of tiles)
                tryCompare(tile, "hasPicture", true, Driver.patience, tile.objectName)
        }

        function test_thumbnailsStayThroughAFilterAndADeleteWhileScrolled() {
            let ids = []
            for (let i = 0; i < 9; ++i)
                ids.push(BackdropDriver.addMyBackground("Picture " + i, "saved", i === 8))
            const view = createTemporaryObject(scrolledComponent, root)
            waitForRendering(view)
            view.contentY = 480  // the filters at the top, two rows of tiles below
            waitForRendering(view)
            verifyPictures(view, ids)

            mouseClick(find(view, "chip:Favorites"))
            waitForRendering(view)
            mouseClick(find(view, "chip:All"))
            waitForRendering(view)
            verifyPictures(view, ids)

            // A delete from a tile's menu.
            const shown = tilesInView(view, ids)
            const gone = shown[0].tileId
            find(view, "myBackgroundsGrid").gridState.moveToTrash(gone)
            for (const tile of tilesInView(view, ids))
                verify(tile.hasPicture, tile.objectName + " blank right after the delete")
            ids = ids.filter(id => id !== gone)
            waitForRendering(view)
            verifyPictures(view, ids)
        }

        function test_deletingTheSelectionSaysHowManyGoHiddenOnesIncluded() {
            const sea = BackdropDriver.addMyBackground("Sea", "saved", true)
            const desk = BackdropDriver.addMyBackground("Desk", "imported")
            const glow = BackdropDriver.addMyBackground("Glow", "imported")
            const grid = createTemporaryObject(gridComponent, root)
            waitForRendering(grid)
            mouseClick(find(grid, "mySelect"))
            for (const id of [sea, desk, glow])
                mouseClick(find(grid, "my:" + id))
            mouseClick(find(grid, "chip:Favorites"))
            waitForRendering(grid)  // the header's buttons in their places
            mouseClick(find(grid, "myDeleteSelection"))
            const question = grid.deleteQuestion
            tryCompare(question, "opened", true)
            compare(question.title, "Move 3 backgrounds to the Trash?")
            compare(question.message, "2 of them are hidden by the current filter.")
            mouseClick(find(question.contentItem, "popupCancel"))
            tryCompare(question, "opened", false)
            compare(grid.gridState.selection.length, 3)
            compare(grid.gridState.tiles.count, 1)

            // A question can be dismissed with Escape too.
            mouseClick(find(grid, "myDeleteSelection"))
            tryCompare(question, "opened", true)
            keyClick(Qt.Key_Escape)
            tryCompare(question, "opened", false)
            verify(!grid.gridState.asking)

            // The removing button is drawn as a destructive action.
            mouseClick(find(grid, "myDeleteSelection"))
            tryCompare(question, "opened", true)
            verify(!find(question.contentItem, "popupAccept").visible)
            const remove = find(question.contentItem, "popupDestroy")
            verify(remove.visible)
            compare(remove.text, "Move to Trash")
            compare(remove.background.color, Theme.failure)
            mouseClick(remove)
            tryCompare(grid.gridState, "libraryEmpty", true, Driver.patience)
            compare(grid.gridState.selection.length, 0)
        }

        function test_renameAndDeleteAllAskFirst() {
            const sea = BackdropDriver.addMyBackground("Sea", "saved")
            BackdropDriver.addMyBackground("Desk", "saved")
            const grid = createTemporaryObject(gridComponent, root)
            grid.startRename(sea, "Sea")
            const rename = grid.renameQuestion
            tryCompare(rename, "opened", true)
            grid.newName = "  Ocean "
            rename.accepted()
            rename.close()
            tryCompare(find(find(grid, "my:" + sea), "caption"), "text", "Ocean")

            mouseClick(find(grid, "myDeleteAll"))
            const confirm = grid.deleteQuestion
            tryCompare(confirm, "opened", true)
            compare(confirm.title, "Move all 2 backgrounds to the Trash?")
            const remove = find(confirm.contentItem, "popupDestroy")
            compare(remove.text, "Move All to Trash")
            compare(remove.background.color, Theme.failure)
            mouseClick(remove)
            tryCompare(grid.gridState, "libraryEmpty", true, Driver.patience)
        }
    }
}
