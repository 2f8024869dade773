import QtQuick
import QtTest
import Zephrin.Model
import Zephrin.Pickers
import Zephrin.TestSupport

BatchHarness {
    name: "BatchGrid"

    Component { id: gridComponent; BatchGridView { width: 700; height: 600 } }

    // A drag of files over the grid (its data is the platform's to carry).
    Component {
        id: dragComponent
        Item {
            width: 10
            height: 10
            Drag.dragType: Drag.Internal
            Drag.keys: ["text/uri-list"]
        }
    }

    function makeGrid() {
        const grid = createTemporaryObject(gridComponent, this)
        verify(grid)
        return grid
    }

    // A tile, once the grid has made its delegate.
    function tile(grid, baseName) {
        tryVerify(() => find(grid, "batchTile:" + baseName) !== null, Driver.patience, "no tile " + baseName)
        return find(grid, "batchTile:" + baseName)
    }

    function test_anEmptyQueueShowsTheEmptyState() {
        const grid = makeGrid()
        verify(item(grid, "batchEmptyState").visible)
        verify(!item(grid, "batchTiles").visible)
        verify(!item(grid, "dropOutline").visible)
    }

    function test_fourTilesFitAcross700Points() {
        const grid = makeGrid()
        compare(BatchRules.gridColumns(700), 4)
        compare(BatchRules.tileWidth(700), 155)
        queue(["a.png", "b.png", "c.png", "d.png", "e.png"])
        const tiles = item(grid, "batchTiles")
        waitForRendering(tiles)
        compare(tiles.count, 5)
        compare(tile(grid, "a").width, 155)
        // The fifth tile starts the second row.
        const fifth = tile(grid, "e")
        compare(fifth.mapToItem(tiles, 0, 0).x, tile(grid, "a").mapToItem(tiles, 0, 0).x)
        verify(fifth.mapToItem(tiles, 0, 0).y > 150)
    }

    function test_tilesShowTheSourceThenTheResultWithItsBadge() {
        const grid = makeGrid()
        queue(["Holiday photo 2024.final.jpeg", "broken.png"])
        verify(!item(grid, "batchEmptyState").visible)
        const photo = tile(grid, "Holiday photo 2024.final")
        compare(item(photo, "tileName").text, "Holiday photo 2024.final")
        const image = item(photo, "tileImage")
        verify(image.paintedRect.width > 0)  // the source's preview
        compare(image.opacity, 0.5)
        for (const badge of ["processingBadge", "doneBadge", "failedBadge"])
            verify(!item(photo, badge).visible, badge)

        batch.start(Editor)
        verify(item(photo, "processingBadge").visible)
        Driver.settle()
        verify(item(photo, "doneBadge").visible)
        compare(image.opacity, 1)
        const failed = item(tile(grid, "broken"), "failedBadge")
        verify(failed.visible)
        compare(failed.help, "That image couldn't be read: it isn't a picture Zephrin reads.")
        compare(item(tile(grid, "broken"), "tileImage").opacity, 0.5)
        // The reason is on the tile itself, not only in the badge's tooltip.
        const reason = item(tile(grid, "broken"), "failureReason")
        verify(reason.visible)
        compare(reason.children[0].text, "That image couldn't be read: it isn't a picture Zephrin reads.")
        verify(!item(photo, "failureReason").visible)
    }

    function test_aTapLeavesBatchModeAndOpensTheFile() {
        const grid = makeGrid()
        queue(["open-me.png", "broken-tap.png"])
        batch.start(Editor)
        Driver.settle()
        Editor.batchMode = true
        mouseClick(tile(grid, "broken-tap"))
        verify(!Editor.batchMode)
        Driver.settle()
        compare(Editor.lastError, "Couldn't open broken-tap.png: it isn't a picture Zephrin reads.")
        compare(batch.total, 2)  // the queue stays for a later return

        Editor.batchMode = true
        mouseClick(tile(grid, "open-me"))
        verify(!Editor.batchMode)
        Driver.settle()
        verify(Editor.document !== undefined)
        compare(batch.total, 2)
    }

    function test_aDragOfFilesIsOutlinedAndADropJoinsTheQueue() {
        const grid = makeGrid()
        const drag = createTemporaryObject(dragComponent, grid)
        drag.x = 300
        drag.y = 300
        drag.Drag.active = true
        verify(grid.dropTargeted)
        verify(item(grid, "dropOutline").visible)
        drag.Drag.cancel()
        verify(!item(grid, "dropOutline").visible)

        // What a drop hands the queue: one file twice, and a text file.
        const first = Driver.writePicture("dropped-1.png", 60, 40)
        const second = Driver.writePicture("dropped-2.png", 60, 40)
        batch.add([first, second, Driver.writeText("dropped.txt", "words"), first])
        batch.add([second])
        compare(batch.total, 2)
        Driver.settle()
        verify(tile(grid, "dropped-1"))
        verify(tile(grid, "dropped-2"))
    }
}
