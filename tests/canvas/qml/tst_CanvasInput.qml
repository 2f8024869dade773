// What reaches the canvas in the main window: keys, the wheel and Space only
// while no popup is open and the pointer or the focus is in the canvas; and
// a double-click, delivered as Qt does (press, release, press, double-click,
// release), for every tool.
import QtQuick
import QtTest
import Zephrin.Model
import Zephrin.TestSupport
import "../../app/window"

WindowHarness {
    id: test
    name: "CanvasInput"

    function cleanup() {
        Editor.showExportSheet = false
        Editor.clearDocument()
        Driver.settle()
        Editor.zoom = 1
        Editor.spacePan = false
        Editor.canvasTool = "View"
        Editor.selectionKind = "Rectangle"
        Editor.pickedColors = []
        Editor.tool = "cutout"
    }

    // A shape layer selected with the text tool, its handles over the image.
    function labelScene() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        Editor.tool = "text"
        Editor.addShapeLayer("rect")
        Driver.settle()
        return window
    }

    function test_nothingReachesTheCanvasBehindTheExportSheet() {
        const window = labelScene()
        const id = Editor.selectedTextID
        const x = Editor.comp.texts[0].x
        const surface = item(window, "canvasSurface")
        const sheet = item(window, "exportSheet")
        Editor.showExportSheet = true
        tryCompare(sheet, "opened", true)
        mouseMove(surface, surface.width / 2, surface.height / 2)

        keyClick(Qt.Key_Backspace)
        keyClick(Qt.Key_Right)
        keyClick(Qt.Key_Space)
        mouseWheel(surface, surface.width / 2, surface.height / 2, 0, 120)
        Driver.settle()
        compare(Editor.comp.texts.length, 1)
        compare(Editor.comp.texts[0].x, x)
        verify(!Editor.spacePan)
        compare(Editor.zoom, 1)

        // Escape closes the sheet and leaves the layer selected.
        keyClick(Qt.Key_Escape)
        tryCompare(sheet, "visible", false)
        compare(Editor.selectedTextID, id)

        // With the sheet closed and the pointer over the canvas, keys act.
        keyClick(Qt.Key_Right)
        verify(Editor.comp.texts[0].x > x)
    }

    function test_aFocusedControlKeepsItsKeys() {
        const window = labelScene()
        const x = Editor.comp.texts[0].x
        const slider = item(item(window, "slider:shapeW"), "slider")
        mouseClick(slider, slider.width / 2, slider.height / 2)
        verify(slider.activeFocus)
        const width = Editor.comp.texts[0].shapeW
        keyClick(Qt.Key_Right)
        keyClick(Qt.Key_Backspace)
        Driver.settle()
        compare(Editor.comp.texts.length, 1)
        compare(Editor.comp.texts[0].x, x)
        verify(Editor.comp.texts[0].shapeW > width)

        // Space on a focused button clicks it, also one drawn over the canvas.
        const zoomIn = item(window, "canvasZoomIn")
        zoomIn.forceActiveFocus(Qt.TabFocusReason)
        keyClick(Qt.Key_Space)
        verify(!Editor.spacePan)
        compare(Editor.zoom, 1.5)

        // Over the canvas the pointer wins: Space pans while it is held.
        const surface = item(window, "canvasSurface")
        mouseMove(surface, surface.width / 2, surface.height / 2)
        keyPress(Qt.Key_Space)
        verify(Editor.spacePan)
        keyRelease(Qt.Key_Space)
        verify(!Editor.spacePan)
        compare(Editor.zoom, 1.5)
    }

    function test_aDoubleClickFinishesAnOutlineOrTogglesPan_data() {
        return [
            { tag: "View", tool: "View", after: "Pan" },
            { tag: "Pan", tool: "Pan", after: "View" },
            { tag: "Erase", tool: "Erase", after: "Pan", edits: 1 },
            { tag: "Restore", tool: "Restore", after: "Pan", edits: 1 },
            { tag: "Paint", tool: "Paint", after: "Pan", edits: 1 },
            { tag: "Select", tool: "Select", after: "Pan" },
            { tag: "Select, outline in progress", tool: "Select", kind: "Outline", corners: 2, after: "Select",
              closed: 3 },
            { tag: "Select, one corner placed", tool: "Select", kind: "Outline", corners: 1, after: "Select" },
            { tag: "Select, no outline", tool: "Select", kind: "Outline", after: "Pan" },
            { tag: "Gradient, outline in progress", tool: "Gradient", kind: "Outline", corners: 2,
              after: "Gradient", closed: 3 },
            { tag: "Crop", tool: "Crop", after: "Pan" },
            { tag: "Pick color", tool: "Pick color", after: "Pan", picks: 1 },
        ]
    }

    function test_aDoubleClickFinishesAnOutlineOrTogglesPan(data) {
        const window = openWindow()
        Driver.openPicture(120, 80)
        Editor.canvasTool = data.tool
        if (data.tool === "Pan")
            Editor.previousTool = "View"
        Editor.selectionKind = data.kind || "Rectangle"
        const surface = item(window, "canvasSurface")
        const image = item(window, "canvasImage")
        const at = (fx, fy) => image.mapToItem(surface, image.width * fx, image.height * fy)
        const corners = [at(0.2, 0.2), at(0.8, 0.25)]
        for (let i = 0; i < (data.corners || 0); ++i)
            mouseClick(surface, corners[i].x, corners[i].y)
        const last = at(0.5, 0.8)
        mouseDoubleClickSequence(surface, last.x, last.y)
        Driver.settle()

        compare(Editor.canvasTool, data.after)
        compare(Editor.liveStroke.length, 0)
        if (data.closed) {
            verify(Editor.pendingSelection !== undefined)
            compare(Editor.pendingSelection.length, data.closed)
        } else {
            verify(Editor.pendingSelection === undefined)
        }
        // The first click's dab is the only edit; the second press adds none.
        compare(Editor.activeOpCount + Editor.activePaintOpCount, data.edits || 0)
        compare(Editor.pickedColors.length, data.picks || 0)
    }
}
