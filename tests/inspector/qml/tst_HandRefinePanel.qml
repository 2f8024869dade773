import QtQuick
import QtTest
import Zephrin.Inspector
import Zephrin.Model
import Zephrin.Shell
import Zephrin.TestSupport

TestCase {
    id: testCase
    name: "HandRefinePanel"
    when: windowShown
    visible: true
    width: 310
    height: 1600

    Component {
        id: panelComponent
        HandRefinePanel { width: 278 }
    }

    function init() {
        Driver.openPicture(120, 80)
    }

    function cleanup() {
        Editor.clearDocument()
        Driver.settle()
        Editor.canvasTool = "View"
        Editor.selectionKind = "Rectangle"
        Editor.pickedColors = []
    }

    // Lets the layouts around an item place it.
    function settle(item) {
        for (let p = item; p; p = p.parent)
            waitForItemPolished(p)
    }
    function click(item) {
        settle(item)
        mouseClick(item)
    }

    function child(root, name) {
        const found = findChild(root, name)
        verify(found, "no item " + name)
        return found
    }

    function select(points) {
        Editor.canvasTool = "Select"
        Editor.finishSelection(points)
    }

    function test_toolChipsChooseTheBlock() {
        const panel = createTemporaryObject(panelComponent, testCase)
        compare(child(panel, "toolNote").text,
                "Drag the image out to another app. Double-click or hold Space to pan.")
        click(child(panel, "tool:Erase"))
        compare(Editor.canvasTool, "Erase")
        verify(child(panel, "tool:Erase").isSelected)
        verify(!child(panel, "toolNote").visible)
        compare(child(panel, "brushHint").text, "Paint over areas to remove them from the cutout.")
        compare(child(child(panel, "brushSize"), "valueText").text, "40 px")
        compare(child(child(panel, "brushHardness"), "valueText").text, "80%")
        Editor.brushHardness = 0.05
        compare(child(child(panel, "brushHardness"), "valueText").text, "5%")
        Editor.brushHardness = 0.8

        // The selected chip writes no tool, but still drops a stroke in progress.
        Editor.liveStroke = [Qt.point(3, 4), Qt.point(5, 6)]
        const spy = createTemporaryObject(spyComponent, testCase, { signalName: "canvasToolChanged" })
        click(child(panel, "tool:Erase"))
        compare(spy.count, 0)
        compare(Editor.liveStroke.length, 0)

        Editor.canvasTool = "Gradient"
        verify(child(panel, "toolNote").visible)
        compare(child(panel, "toolNote").text, "Gradient tool is active (see Adjust or Resize).")
        verify(!child(panel, "brushSize").visible)
        verify(!child(panel, "colorBlock").visible)
    }

    Component {
        id: spyComponent
        SignalSpy { target: Editor }
    }

    function test_clearEditsFollowsTheEdits() {
        const panel = createTemporaryObject(panelComponent, testCase)
        const clear = child(panel, "clearEdits")
        verify(!clear.visible)
        select([Qt.point(10, 10), Qt.point(50, 40)])
        click(child(panel, "deleteInside"))
        compare(Editor.maskOps.length, 1)
        compare(Editor.activeOpCount, 1)
        verify(Editor.pendingSelection === undefined)
        verify(Editor.lastSelection !== undefined)
        verify(clear.visible)
        click(clear)
        compare(Editor.activeOpCount, 0)
        verify(!clear.visible)
        Driver.settle()
    }

    function test_selectionStates() {
        const panel = createTemporaryObject(panelComponent, testCase)
        Editor.canvasTool = "Select"
        const controls = child(panel, "selectionControls")
        compare(controls.blockState, "choosing")
        verify(child(panel, "shapeChips").visible)
        compare(child(panel, "shapeHint").text,
                "Drag out the shape on the image. …or use the colors below on the whole image.")
        verify(!child(panel, "reselectLastArea").visible)
        verify(!child(panel, "deleteRow").visible)
        compare(child(panel, "colorsHeading").text, "Colors in image")

        Editor.selectionKind = "Ellipse"
        Editor.finishSelection([Qt.point(10, 10), Qt.point(60, 50)])
        compare(controls.blockState, "selected")
        verify(!child(panel, "shapeChips").visible)
        compare(child(panel, "selectionStatusText").text, "Ellipse selected")
        compare(child(panel, "selectionHint").text,
                "Drag the handles to resize, or drag inside to move it. Esc clears.")
        verify(child(panel, "deleteRow").visible)
        compare(child(panel, "colorsHeading").text, "Colors in selection")

        // Cleared, the selection is dropped: it is not the last area.
        click(child(panel, "clearSelection"))
        verify(Editor.pendingSelection === undefined)
        verify(Editor.lastSelection === undefined)
        compare(controls.blockState, "choosing")

        Editor.selectionKind = "Lasso"
        Editor.finishSelection([Qt.point(10, 10), Qt.point(60, 10), Qt.point(40, 50)])
        compare(child(panel, "selectionStatusText").text, "Lasso selected")
        compare(child(panel, "selectionHint").text,
                "Drag the corner handles to scale it, or drag inside to move it. Esc clears.")
        click(child(panel, "deleteOutside"))
        compare(Editor.maskOps.length, 1)
        verify(child(panel, "reselectLastArea").visible)
        click(child(panel, "reselectLastArea"))
        compare(Editor.pendingKind, "Lasso")
        verify(Editor.pendingSelection !== undefined)
        Driver.settle()
    }

    function test_outlineProgress() {
        const panel = createTemporaryObject(panelComponent, testCase)
        Editor.canvasTool = "Select"
        Editor.selectionKind = "Outline"
        const controls = child(panel, "selectionControls")
        Editor.addPolygonPoint(Qt.point(10, 10))
        compare(controls.blockState, "outline")
        compare(child(panel, "outlineCorners").text, "1 corner placed")
        verify(!child(panel, "closeOutline").enabled)
        Editor.addPolygonPoint(Qt.point(60, 10))
        Editor.addPolygonPoint(Qt.point(40, 50))
        compare(child(panel, "outlineCorners").text, "3 corners placed")
        verify(child(panel, "closeOutline").enabled)

        // The colour picker does not count as placing an outline.
        Editor.canvasTool = "Pick color"
        compare(controls.blockState, "choosing")
        Editor.canvasTool = "Select"
        click(child(panel, "closeOutline"))
        compare(controls.blockState, "selected")
        compare(Editor.pendingKind, "Outline")

        // Corners too close together make no outline.
        Editor.pendingSelection = undefined
        Editor.liveStroke = [Qt.point(20, 20), Qt.point(21, 20), Qt.point(20, 21)]
        compare(controls.blockState, "outline")
        click(child(panel, "closeOutline"))
        verify(Editor.pendingSelection === undefined)
        compare(controls.blockState, "choosing")
    }

    function test_colorsArePickedAndRemoved() {
        const panel = createTemporaryObject(panelComponent, testCase)
        Editor.canvasTool = "Select"
        const read = child(panel, "readColors")
        compare(read.text, "Show colors")
        compare(child(panel, "pickedCount").text, "No colors picked yet")
        verify(!child(panel, "clearPicks").visible)
        verify(!child(panel, "colorTolerance").enabled)
        compare(child(panel, "colorTolerance").opacity, 0.5)
        verify(!child(panel, "removeColors").enabled)
        verify(!child(panel, "keepOnly").enabled)
        compare(child(panel, "keepOnly").opacity, 0.5)

        click(read)
        verify(Editor.isLoadingPalette)
        verify(child(panel, "readingColors").visible)
        Driver.settle()
        verify(!child(panel, "readingColors").visible)
        compare(read.text, "Refresh")
        verify(Editor.selectionPalette.length >= 2)
        verify(child(panel, "paletteGrid").visible)

        const chip = findChild(child(panel, "paletteGrid"), "paletteChip")
        click(chip)
        compare(Editor.pickedColors.length, 1)
        verify(chip.picked)
        compare(child(panel, "pickedCount").text, "Will act on 1 color:")
        compare(child(panel, "removeColors").text, "Remove color")
        verify(child(panel, "colorTolerance").enabled)
        click(chip)
        compare(Editor.pickedColors.length, 0)
        verify(!chip.picked)

        // Two colours picked, then removed over the whole image.
        for (let i = 0; i < 2; ++i)
            Editor.togglePickedColor(Editor.selectionPalette[i].color)
        compare(child(panel, "pickedCount").text, "Will act on 2 colors:")
        compare(child(panel, "removeColors").text, "Remove 2 colors")
        click(child(panel, "removeColors"))
        compare(Editor.maskOps, ["colorKey"])
        compare(Editor.pickedColors.length, 0)
        compare(Editor.selectionPalette.length, 0)
        Driver.settle()
    }

    function test_thePickButtonTogglesThePicker() {
        const panel = createTemporaryObject(panelComponent, testCase)
        Editor.canvasTool = "Select"
        const pick = child(panel, "pickColor")
        compare(child(panel, "pickColorLabel").text, "Pick from image")
        click(pick)
        compare(Editor.canvasTool, "Pick color")
        compare(child(panel, "pickColorLabel").text, "Click a color on the image…")
        // No chip is selected, and the selection and colour blocks stay.
        verify(!child(panel, "tool:Select").isSelected)
        verify(child(panel, "selectionControls").visible)
        verify(child(panel, "colorBlock").visible)

        // A pick on the image goes back to Select.
        Editor.pickColor(Qt.point(60, 40))
        compare(Editor.canvasTool, "Select")
        compare(Editor.pickedColors.length, 1)
        compare(child(panel, "pickColorLabel").text, "Pick from image")

        // A picked swatch can be taken off again.
        const swatches = child(panel, "pickedSwatches")
        click(findChild(swatches, "removePick"))
        compare(Editor.pickedColors.length, 0)
    }
}
