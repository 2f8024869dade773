import QtQuick
import QtTest
import Zephrin.Model
import Zephrin.Pickers
import Zephrin.TestSupport

// My Backgrounds: the empty library, filters, selection mode and its
// header, badges, and the selection kept to items that still exist.
Item {
    id: root
    width: 300
    height: 900

    Component {
        id: gridComponent
        MyBackgroundsGrid { width: 280 }
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
            const confirm = grid.deleteAllQuestion
            tryCompare(confirm, "opened", true)
            compare(confirm.title, "Move all 2 backgrounds to the Trash?")
            confirm.accepted()
            confirm.close()
            tryCompare(grid.gridState, "libraryEmpty", true)
        }
    }
}
