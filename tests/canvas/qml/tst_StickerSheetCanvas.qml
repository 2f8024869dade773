// Dragging a sticker on the sheet canvas while layouts come and go: a render
// that lands during the drag keeps the drag, and a drop let go while a layout
// is under way is pinned once that layout is over. A drop refused says why
// where it can be read.
import QtQuick
import QtTest
import Zephrin.Model
import Zephrin.TestSupport
import "../../app/window"

WindowHarness {
    name: "StickerSheetCanvas"

    function cleanup() {
        Editor.clearStickerSheet()
        Editor.tool = "cutout"
        Editor.clearDocument()
        Driver.settle()
    }

    // Three designs push the panel's notice below the fold: a sticker dropped
    // on another springs back, and the panel scrolls its reason into view.
    function test_aRefusedDropSaysWhyInView() {
        const window = openWindow()
        Editor.setSheetSetting("paper", "US Letter")
        Driver.openPicture(120, 80)
        for (let i = 0; i < 3; ++i)
            Editor.addToStickerSheet()
        Driver.settle()
        waitForRendering(window.contentItem)
        const placements = Editor.sheetLayout.placements
        compare(placements.length, 3)
        const canvas = item(window, "stickerSheetCanvas")
        const moved = item(window, "sheetHandle:" + placements[2].key)
        const target = item(window, "sheetHandle:" + placements[1].key)
        const from = moved.mapToItem(canvas, moved.width / 2, moved.height / 2)
        const to = target.mapToItem(canvas, target.width / 2, target.height / 2)
        mousePress(canvas, from.x, from.y)
        mouseMove(canvas, to.x, to.y)
        mouseRelease(canvas, to.x, to.y)
        compare(Editor.sheetNotice, "That spot is on another sticker — drop it where the sheet is free.")
        verify(!item(moved, "sheetHandleSticker").visible)  // back in its place

        // Where the panel has laid the line out, once it is drawn.
        waitForRendering(window.contentItem)
        const notice = item(window, "sheetNotice")
        const scroll = item(window, "inspectorScroll")
        const top = notice.mapToItem(scroll, 0, 0).y
        verify(notice.visible)
        verify(top >= 0 && top + notice.height <= scroll.height, "the reason is in view")
    }

    function test_aDragOutlivesTheRendersAroundIt() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        Editor.addToStickerSheet()
        Driver.settle()
        Editor.setSheetItemField(Editor.sheetLayout.placements[0].itemID, "count", 2)
        Driver.settle()
        compare(Editor.sheetLayout.placements.length, 2)
        const key = Editor.sheetLayout.placements[0].key
        const canvas = item(window, "stickerSheetCanvas")
        const handle = item(window, "sheetHandle:" + key)
        const start = handle.mapToItem(canvas, handle.width / 2, handle.height / 2)
        mousePress(canvas, start.x, start.y)
        mouseMove(canvas, start.x + 10, start.y + 30)

        // A render lands in the middle of the drag.
        const stamp = Editor.sheetRenderStamp
        Editor.setSheetSetting("spacingInches", 0.2)
        Driver.settle()
        verify(Editor.sheetRenderStamp > stamp)
        compare(item(window, "sheetHandle:" + key), handle)
        mouseMove(canvas, start.x, start.y + 200)  // well below the other copy
        verify(item(handle, "sheetHandleSticker").visible)

        // Another layout is under way when the sticker is let go.
        Editor.setSheetSetting("spacingInches", 0.25)
        mouseRelease(canvas, start.x, start.y + 200)
        compare(Object.keys(Editor.sheetPins).length, 0)
        verify(item(handle, "sheetHandleSticker").visible)  // it stays where it was dropped
        Driver.settle()
        compare(Editor.sheetNotice, "")
        verify(Editor.sheetPins[key] !== undefined)
        verify(!item(handle, "sheetHandleSticker").visible)
    }
}
