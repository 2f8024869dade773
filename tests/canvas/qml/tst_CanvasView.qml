import QtQuick
import QtTest
import Zephrin.App
import Zephrin.Model
import Zephrin.Shell
import Zephrin.TestSupport

TestCase {
    id: harness
    name: "CanvasView"
    when: windowShown
    visible: true
    width: 100
    height: 100

    Component { id: mainComponent; Main {} }

    function openWindow() {
        const window = createTemporaryObject(mainComponent, harness)
        verify(window)
        tryVerify(() => window.visible && window.width === 1280)
        waitForRendering(window.contentItem)
        window.requestActivate()
        tryVerify(() => window.active)
        return window
    }

    function find(root, name) {
        if (!root)
            return null
        if (root.objectName === name)
            return root
        for (let i = 0; i < root.children.length; ++i) {
            const found = find(root.children[i], name)
            if (found)
                return found
        }
        return null
    }

    function item(window, name) {
        const found = find(window.contentItem, name)
        verify(found, "no item named " + name)
        return found
    }

    function cleanup() {
        Editor.clearDocument()
        Driver.settle()
        Editor.zoom = 1
        Editor.panOffset = Qt.size(0, 0)
        Editor.compareEnabled = false
        Editor.canvasTool = "View"
        Editor.tool = "cutout"
    }

    function test_theEmptyStateGivesWayToTheImage() {
        const window = openWindow()
        verify(item(window, "emptyState").visible)
        verify(!item(window, "mainCanvas").visible)
        Driver.openPicture(120, 80)
        verify(!item(window, "emptyState").visible)
        verify(item(window, "mainCanvas").visible)
        verify(item(window, "canvasSurface").filtering)
        verify(!item(window, "canvasOverlay").visible)  // the view tool draws no marks

        const picture = item(window, "canvasImage")
        const width = picture.width
        mouseClick(item(window, "canvasZoomIn"))
        compare(Editor.zoom, 1.5)
        fuzzyCompare(picture.width, width * 1.5, 0.5)
        mouseClick(item(window, "canvasZoomOut"))
        mouseClick(item(window, "canvasZoomOut"))
        compare(Editor.zoom, 0.75)
        mouseClick(item(window, "canvasOneToOne"))
        compare(Editor.zoom, 1)
    }

    function test_aDragWithTheSelectToolMakesASelection() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        Editor.canvasTool = "Select"
        const picture = item(window, "canvasImage")
        verify(item(window, "canvasOverlay").visible)
        const surface = item(window, "canvasSurface")
        const from = picture.mapToItem(surface, picture.width * 0.25, picture.height * 0.25)
        const to = picture.mapToItem(surface, picture.width * 0.75, picture.height * 0.75)
        mousePress(surface, from.x, from.y)
        mouseMove(surface, (from.x + to.x) / 2, (from.y + to.y) / 2)
        mouseMove(surface, to.x, to.y)
        mouseRelease(surface, to.x, to.y)
        verify(Editor.pendingSelection !== undefined)
        const points = Editor.pendingSelection
        fuzzyCompare(points[0].x, 30, 0.5)
        fuzzyCompare(points[1].y, 60, 0.5)
        // Escape on the window drops it.
        keyClick(Qt.Key_Escape)
        verify(Editor.pendingSelection === undefined)
    }

    function test_theDragOutHintOpensWhereThePointerRests() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        const area = item(window, "dragOutHintArea")
        const hint = area.hint
        mouseMove(area, area.width * 0.7, area.height * 0.8)
        verify(!hint.visible)
        tryVerify(() => hint.visible, 2000)
        // Beside the pointer, not at the canvas's edge.
        fuzzyCompare(hint.x, area.width * 0.7, 24)
        fuzzyCompare(hint.y, area.height * 0.8, 24)
        // Moving off closes it; resting again opens it there.
        mouseMove(area, area.width * 0.2, area.height * 0.3)
        verify(!hint.visible)
        tryVerify(() => hint.visible, 2000)
        fuzzyCompare(hint.y, area.height * 0.3, 24)
        // Another tool has no drag-out, so no hint.
        Editor.canvasTool = "Erase"
        verify(!hint.visible)
    }

    function test_theSheetCanvasSaysHowToFillAnEmptySheet() {
        const window = openWindow()
        Editor.tool = "sheet"
        const empty = item(window, "sheetEmptyState")
        verify(empty.visible)
        verify(!item(window, "sheetPaper").visible)
        compare(item(window, "sheetEmptyHint").text, "Import an image and make a cutout, then add it to the sheet.")
        Driver.openPicture(120, 80)
        Editor.tool = "sheet"
        compare(item(window, "sheetEmptyHint").text, "Click “Add Current Cutout” in the panel to place this design.")
        Editor.addToStickerSheet()
        Driver.settle()
        verify(!empty.visible)
        verify(item(window, "sheetPaper").visible)
        Editor.clearStickerSheet()
        Driver.settle()
        verify(empty.visible)
    }

    function test_compareReplacesTheCanvasAndItsKeys() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        Editor.compareEnabled = true
        verify(item(window, "compareView").visible)
        verify(!item(window, "mainCanvas").visible)
        verify(!item(window, "canvasSurface").filtering)
        const knob = item(window, "compareKnob")
        const view = item(window, "compareView")
        mouseDrag(knob, knob.width / 2, knob.height / 2, -view.width, 0)
        compare(Editor.comparePosition, 0.02)

        Editor.tool = "sheet"
        verify(!item(window, "compareView").visible)
        verify(item(window, "stickerSheetCanvas").visible)
        Editor.tool = "text"
        Editor.compareEnabled = false
        verify(item(window, "textHandles").visible)
        verify(item(window, "canvasSurface").filtering)
    }
}
