import QtQuick
import QtTest
import Zephrin.Model
import Zephrin.TestSupport

// The batch grid in the main window: a click on a failed (red) tile, on its
// badge or on its picture, leaves batch mode and shows the editor with the
// file's outcome; the queue stays for a later return.
WindowHarness {
    name: "BatchTiles"

    function cleanup() {
        Editor.showIncomingReplaceConfirm = false
        Editor.pendingIncomingURL = ""
        Editor.batch.clear()
        Editor.clearDocument()
        Driver.settle()
        Editor.batchMode = false
    }

    function showBatch(window) {
        mouseClick(item(window, "sidebar:batch"))
        tryCompare(item(window, "batchPanelSlot"), "width", 310)
        waitForRendering(window.contentItem)
    }

    // The header's count of a queue filled while the batch was out of view
    // (hand-offs, a restart) was drawn over the header's icon.
    function test_theCountStandsClearOfTheHeader() {
        const window = openWindow()
        Editor.batch.add([Driver.writePicture("a.png", 120, 80), Driver.writePicture("b.png", 120, 80)])
        Driver.settle()
        showBatch(window)
        const count = item(window, "batchCount")
        const title = item(window, "batchTitle")
        verify(count.visible)
        compare(count.text, "0/2")
        const countLeft = count.mapToItem(window.contentItem, 0, 0).x
        const titleRight = title.mapToItem(window.contentItem, title.width, 0).x
        verify(countLeft > titleRight, "count at " + countLeft + ", title ends at " + titleRight)
    }

    function test_aRedTileOpensItsFileInTheEditor() {
        const window = openWindow()
        showBatch(window)
        const batch = Editor.batch
        batch.add([Driver.writePicture("good.png", 120, 80), Driver.writeText("scan.png", "not a picture")])
        batch.start(Editor)
        Driver.settle()
        compare(batch.failedCount, 1)
        waitForRendering(window.contentItem)

        const badge = item(item(window, "batchTile:scan"), "failedBadge")
        verify(badge.visible)
        const onBadge = badge.mapToItem(window.contentItem, badge.width / 2, badge.height / 2)
        mouseMove(window.contentItem, onBadge.x, onBadge.y)
        mouseClick(window.contentItem, onBadge.x, onBadge.y)
        tryCompare(Editor, "batchMode", false)
        verify(item(window, "canvasSlot").visible)
        verify(!item(window, "batchGridSlot").visible)
        Driver.settle()
        compare(Editor.lastError, "Couldn't open scan.png: it isn't a picture Zephrin reads.")

        showBatch(window)
        compare(batch.total, 2)
        const tile = item(window, "batchTile:scan")
        mouseClick(tile, tile.width / 3, 40)
        tryCompare(Editor, "batchMode", false)
        verify(item(window, "canvasSlot").visible)
    }

    // A tile opens its file as every other road does: with work in the
    // document, only after the replace question.
    function test_aTileAsksBeforeItReplacesWork() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        Editor.setComp("shadowEnabled", true)
        Driver.settle()
        const before = Editor.document.url
        const picture = Driver.writePicture("tile.png", 120, 80)
        Editor.batch.add([picture])
        showBatch(window)
        const question = item(window, "replaceQuestion")

        let tile = item(window, "batchTile:tile")
        mouseClick(tile, tile.width / 3, 40)
        tryCompare(question, "opened", true)
        verify(item(question, "questionDetail").text.startsWith("Opening “tile.png” discards the undo history."))
        compare(Editor.batchMode, false)
        mouseClick(item(question, "keepWorking"))
        tryCompare(question, "visible", false)
        Driver.settle()
        compare(Editor.document.url, before)

        showBatch(window)
        tile = item(window, "batchTile:tile")
        mouseClick(tile, tile.width / 3, 40)
        tryCompare(question, "opened", true)
        mouseClick(item(question, "replace"))
        tryCompare(question, "visible", false)
        Driver.settle()
        compare(Editor.document.url, picture)
    }
}
