import QtQuick
import QtTest
import Zephrin.Inspector
import Zephrin.Model
import Zephrin.TestSupport

PanelCase {
    id: testCase
    name: "ColorPanel"

    Component { id: panelComponent; ColorPanel { width: 278 } }

    function makePanel() { return createTemporaryObject(panelComponent, testCase) }
    function toolChip(panel, tool) { return child(panel, "tool:" + tool) }

    function test_theColourModeShowsItsOwnRows() {
        const panel = makePanel()
        openWithCutout()
        const rows = ["colorModeHint", "subjectFillColorRow", "tintColorRow", "tintStrengthRow"]
        compare(shown(panel, rows), ["colorModeHint"])
        mouseClick(child(child(panel, "colorModeChips"), "chip:Fill"))
        compare(Editor.comp.colorMode, "Fill")
        compare(shown(panel, rows), ["subjectFillColorRow"])
        mouseClick(child(child(panel, "colorModeChips"), "chip:Tint"))
        compare(shown(panel, rows), ["tintColorRow", "tintStrengthRow"])
        compare(valueText(panel, "tintStrengthRow"), "100%")
    }

    function test_toolChipsChooseTheBlockAndStartAfresh() {
        const panel = makePanel()
        openWithCutout()
        const blocks = ["paintBlock", "selectBlock", "gradientBlock", "toolHint"]
        compare(shown(panel, blocks), ["toolHint"])
        mouseClick(toolChip(panel, "Paint"))
        compare(Editor.canvasTool, "Paint")
        verify(toolChip(panel, "Paint").isSelected)
        compare(shown(panel, blocks), ["paintBlock"])
        compare([valueText(panel, "brushSizeRow"), valueText(panel, "hardnessRow"),
                 valueText(panel, "paintOpacityRow")], ["40 px", "80%", "100%"])

        // The chosen chip again still drops what was being drawn.
        Editor.liveStroke = [Qt.point(1, 1), Qt.point(5, 5)]
        Editor.gradientLine = [Qt.point(0, 0), Qt.point(9, 9)]
        toolWrites.clear()
        wait(Qt.styleHints.mouseDoubleClickInterval + 20)   // a second click, not a double-click
        mouseClick(toolChip(panel, "Paint"))
        compare(toolWrites.count, 0)
        compare(Editor.liveStroke.length, 0)
        compare(Editor.gradientLine, undefined)

        mouseClick(toolChip(panel, "Select"))
        compare(shown(panel, blocks), ["selectBlock"])
        mouseClick(toolChip(panel, "Gradient"))
        compare(shown(panel, blocks), ["gradientBlock"])
        mouseClick(toolChip(panel, "Pan"))
        compare(shown(panel, blocks), ["toolHint"])
        compare(child(panel, "toolHint").text, "Choose Paint or Gradient, then work on the canvas.")

        mouseClick(child(child(panel, "blendChips"), "chip:Solid"))
        compare(Editor.paintBlend, "Solid")
        compare(child(panel, "blendHint").text, "Solid paints flat color over the subject.")
    }

    function test_aSelectionConfinesThePaintBlock() {
        const panel = makePanel()
        openWithCutout()
        Editor.canvasTool = "Paint"
        verify(child(panel, "paintHint").visible)
        verify(!child(panel, "fillSelection").visible)
        Editor.finishSelection([Qt.point(10, 10), Qt.point(40, 30)])
        verify(!child(panel, "paintHint").visible)
        verify(child(panel, "fillSelection").visible)
        mouseClick(child(panel, "fillSelection"))
        compare(Editor.activePaintOpCount, 1)
        compare(Editor.pendingSelection, undefined)
        verify(Editor.lastSelection !== undefined)

        Editor.reselectLastSelection()
        mouseClick(child(panel, "paintClearSelection"))
        compare(Editor.pendingSelection, undefined)
    }

    function test_clearPaintShowsWhilePaintIsInForce() {
        const panel = makePanel()
        openWithCutout()
        const link = child(panel, "clearPaint")
        verify(!link.visible)
        Editor.canvasTool = "Paint"
        Editor.commitPaintStroke([Qt.point(10, 10), Qt.point(30, 30)])
        verify(link.visible)
        Editor.undo()
        verify(!link.visible)
        Editor.redo()
        mouseClick(link)
        compare(Editor.activePaintOpCount, 0)
        verify(!link.visible)
    }

    function test_theApplyTitleSaysReplaceOnlyWhenItWill() {
        const panel = makePanel()
        openWithCutout()
        Editor.canvasTool = "Gradient"
        const apply = child(panel, "applyGradient")
        verify(apply.enabled)
        compare(apply.text, "Apply Gradient")
        mouseClick(apply)
        compare(Editor.activePaintOpCount, 1)
        compare(apply.text, "Apply Gradient (replaces last)")

        // A stroke on top: the next gradient is added, and the title says so.
        Editor.canvasTool = "Paint"
        Editor.commitPaintStroke([Qt.point(10, 10), Qt.point(30, 30)])
        Editor.canvasTool = "Gradient"
        compare(apply.text, "Apply Gradient")
        mouseClick(apply)
        compare(Editor.activePaintOpCount, 3)
        compare(apply.text, "Apply Gradient (replaces last)")
        mouseClick(apply)
        compare(Editor.activePaintOpCount, 3)

        // Undone, nothing is replaced.
        Editor.undo()
        compare(apply.text, "Apply Gradient")
    }

    function test_anglePresetsLightWithinHalfADegree() {
        const panel = makePanel()
        openWithCutout()
        Editor.canvasTool = "Gradient"
        const preset45 = child(panel, "anglePreset:45")
        Editor.gradientAngle = 44.6
        verify(preset45.isSelected)
        Editor.gradientAngle = 44.4
        verify(!preset45.isSelected)
        mouseClick(child(panel, "anglePreset:90"))
        compare(Editor.gradientAngle, 90)
        compare(valueText(panel, "angleRow"), "90°")
        compare(child(panel, "directionHint").text, "Applies across the whole subject.")
        Editor.finishSelection([Qt.point(10, 10), Qt.point(40, 30)])
        compare(child(panel, "directionHint").text,
                "Or start outside the selection and drag a line across it to set a custom direction.")
    }

    function test_applyNeedsACutout() {
        const panel = makePanel()
        openWithoutCutout()
        Editor.canvasTool = "Gradient"
        verify(!child(panel, "applyGradient").enabled)
    }

    SignalSpy { id: toolWrites; target: Editor; signalName: "canvasToolChanged" }
}
