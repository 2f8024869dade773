import QtQuick
import QtTest
import Zephrin.Inspector
import Zephrin.Model
import Zephrin.Shell
import Zephrin.TestSupport

TestCase {
    id: testCase
    name: "SmartCutoutPanel"
    when: windowShown
    visible: true
    width: 310
    height: 2400

    Component {
        id: panelComponent
        SmartCutoutPanel { width: 278 }
    }

    function cleanup() {
        Editor.clearDocument()
        Driver.settle()
        Editor.cutoutMethod = "Auto Subject"
        Editor.matteModel = "Subject Lift"
        Editor.flatConnectedOnly = true
        Editor.decontaminateEnabled = true
        Editor.canvasTool = "View"
        Editor.feather = 0.6
        Editor.edgeMode = "smooth"
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

    function openPicture(withCutout) {
        Settings.autoSubjectOnImport = withCutout
        Driver.openPicture(120, 80)
        Settings.autoSubjectOnImport = true
    }

    function test_withoutAnImageOnlyTheRunButtonsWait() {
        const panel = createTemporaryObject(panelComponent, testCase)
        verify(!child(panel, "runCutout").enabled)
        verify(!child(panel, "lineArtPreset").enabled)
        compare(child(panel, "runCutout").text, "Auto Subject")

        // Settings can be chosen before an image is open.
        click(child(child(panel, "methodChips"), "chip:Flat Color"))
        compare(Editor.cutoutMethod, "Flat Color")
        compare(child(panel, "runCutout").text, "Remove Background Color")
        verify(child(panel, "methodDescription").text.startsWith("Removes the color sampled"))
        verify(!child(panel, "modelBlock").visible)
        verify(!child(panel, "guidedCut").visible)
        verify(child(panel, "flatTolerance").visible)
        verify(!Editor.isProcessing)

        click(child(child(panel, "methodChips"), "chip:Auto Subject"))
        verify(child(panel, "modelBlock").visible)
        verify(child(panel, "guidedCut").visible)
        verify(!child(panel, "flatTolerance").visible)
        // This build runs without the IS-Net model file: one line, no chips;
        // the description still follows the chosen model.
        verify(!child(panel, "modelChips").visible)
        compare(child(panel, "modelUnavailable").text, "Subject Lift (IS-Net model not included in this build)")
        verify(child(panel, "modelDescription").text.startsWith("Subject Lift"))
        Editor.matteModel = "IS-Net"
        verify(child(panel, "modelDescription").text.startsWith("IS-Net"))
    }

    function test_theRunButtonRunsTheMethodChosenAtThePress() {
        const panel = createTemporaryObject(panelComponent, testCase)
        openPicture(false)
        const run = child(panel, "runCutout")
        verify(run.enabled)
        Editor.cutoutMethod = "Flat Color"
        click(run)
        compare(Editor.processingLabel, "Keying background…")
        verify(!run.enabled)
        verify(!child(panel, "lineArtPreset").enabled)
        Driver.settle()
        verify(Editor.cutout !== undefined)

        Editor.cutoutMethod = "Auto Subject"
        click(run)
        compare(Editor.processingLabel, "Finding subject…")
        Driver.settle()
        verify(run.enabled)
    }

    function test_flatColorControls() {
        const panel = createTemporaryObject(panelComponent, testCase)
        Editor.cutoutMethod = "Flat Color"
        const closeGaps = child(panel, "flatCloseGaps")
        verify(closeGaps.visible)
        compare(child(closeGaps, "valueText").text, "Off")
        compare(child(child(panel, "flatTolerance"), "valueText").text, "25")
        Editor.flatCloseGaps = 3
        compare(child(closeGaps, "valueText").text, "3 px")
        Editor.flatCloseGaps = 0

        click(child(child(panel, "flatEdgesOnly"), "switch"))
        verify(!Editor.flatConnectedOnly)
        verify(!closeGaps.visible)
        verify(!child(panel, "closeGapsHint").visible)
    }

    function test_theMatteGatesDecontaminationAndHandRefine() {
        const panel = createTemporaryObject(panelComponent, testCase)
        const decontaminate = child(panel, "decontaminateBlock")
        const handRefine = child(panel, "handRefine")
        verify(!decontaminate.enabled)
        compare(decontaminate.opacity, 0.6)
        verify(!handRefine.enabled)
        compare(handRefine.opacity, 0.6)
        // Edge, fill holes and feather stay usable without a matte.
        verify(child(panel, "edge:contrast").enabled)
        verify(child(panel, "fillHoles").enabled)
        verify(child(panel, "feather").enabled)
        compare(child(child(panel, "feather"), "valueText").text, "0.6 px")

        openPicture(true)
        verify(decontaminate.enabled)
        compare(decontaminate.opacity, 1)
        verify(handRefine.enabled)
        compare(child(panel, "decontaminateValue").text, "30%")

        click(child(child(panel, "decontaminateSwitch"), "switch"))
        verify(!Editor.decontaminateEnabled)
        const slider = child(panel, "decontaminateSlider")
        verify(!slider.enabled)
        compare(slider.opacity, 0.4)
        verify(child(panel, "decontaminateSwitch").enabled)
    }

    function test_edgeCardsAndFeatherRecordHistoryOnce() {
        const panel = createTemporaryObject(panelComponent, testCase)
        openPicture(true)
        const undo = Editor.undoStack
        // The selected card records no new step (it shows the kept result).
        verify(child(panel, "edge:smooth").selected)
        click(child(panel, "edge:smooth"))
        Driver.settle()
        compare(Editor.undoStack, undo)

        click(child(panel, "edge:contrast"))
        compare(Editor.edgeMode, "contrast")
        verify(child(panel, "edge:contrast").selected)
        compare(Editor.undoStack, undo + 1)
        Driver.settle()

        // A drag changes the feather on every move and is one step; the next
        // drag is the next step.
        const slider = child(child(panel, "feather"), "slider")
        mousePress(slider, 2, slider.height / 2)
        for (let x = 10; x <= 100; x += 30)
            mouseMove(slider, x, slider.height / 2)
        verify(Editor.feather > 1)
        compare(Editor.undoStack, undo + 2)
        mouseRelease(slider, 100, slider.height / 2)
        compare(Editor.undoStack, undo + 2)
        mousePress(slider, 40, slider.height / 2)
        mouseMove(slider, 60, slider.height / 2)
        mouseRelease(slider, 60, slider.height / 2)
        compare(Editor.undoStack, undo + 3)
        Driver.settle()
    }
}
