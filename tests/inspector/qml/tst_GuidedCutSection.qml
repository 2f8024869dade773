import QtQuick
import QtTest
import Zephrin.Inspector
import Zephrin.Model
import Zephrin.TestSupport

PanelCase {
    id: testCase
    name: "GuidedCutSection"

    Component { id: sectionComponent; GuidedCutSection { width: 278 } }

    function makeSection() { return createTemporaryObject(sectionComponent, testCase) }

    function test_theBoxButtonTogglesTheBoxTool() {
        const section = makeSection()
        const box = child(section, "boxButton")
        verify(!box.enabled)
        compare(child(section, "guidedCutHint").text,
                "Turn on the box, drag it around the part on the image, then choose what to do with it.")

        openWithCutout()
        Editor.selectionKind = "Ellipse"
        mouseClick(box)
        compare(Editor.canvasTool, "Select")
        compare(Editor.selectionKind, "Rectangle")
        compare(box.text, "Drawing box — draw on the image")
        // On with another kind: one press sets the rectangle and turns the tool off.
        Editor.selectionKind = "Lasso"
        mouseClick(box)
        compare(Editor.canvasTool, "View")
        compare(Editor.selectionKind, "Rectangle")
        compare(box.text, "Draw selection box")
    }

    function test_aPendingRectangleOffersItsActions() {
        const section = makeSection()
        openWithoutCutout()
        Editor.selectionKind = "Rectangle"
        Editor.finishSelection([Qt.point(10, 10), Qt.point(60, 50)])
        verify(child(section, "cutSelection").visible)
        verify(!child(section, "maskButtons").visible)   // nothing to mask yet

        // Another kind pending offers nothing.
        Editor.selectionKind = "Ellipse"
        Editor.finishSelection([Qt.point(10, 10), Qt.point(60, 50)])
        verify(!child(section, "cutSelection").visible)
        compare(child(section, "guidedCutHint").text,
                "Turn on the box, drag it around the part on the image, then choose what to do with it.")

        Editor.selectionKind = "Rectangle"
        Editor.finishSelection([Qt.point(10, 10), Qt.point(60, 50)])
        const cut = child(section, "cutSelection")
        mouseClick(cut)
        verify(Editor.isProcessing)
        compare(Editor.processingLabel, "Cutting selection…")
        compare(Editor.pendingSelection, undefined)
        verify(!cut.visible)
        Driver.settle()
        verify(Editor.cutout !== undefined)
    }

    function test_keepAndRemoveMaskTheCutout() {
        const section = makeSection()
        openWithCutout()
        Editor.selectionKind = "Rectangle"
        for (const name of ["keepOnlyThis", "removeThis"]) {
            Editor.finishSelection([Qt.point(10, 10), Qt.point(60, 50)])
            verify(child(section, "maskButtons").visible)
            compare(child(section, "guidedCutHint").text,
                    "Cut out selection re-runs the model inside the box. Keep only / Remove just mask the current cutout.")
            mouseClick(child(section, name))
            compare(Editor.pendingSelection, undefined)
            verify(!child(section, "maskButtons").visible)
        }
        compare(Editor.maskOps, ["shape", "shape"])
        // While the model works, only the cut waits.
        Editor.finishSelection([Qt.point(10, 10), Qt.point(60, 50)])
        Editor.runAutoSubject()
        verify(!child(section, "cutSelection").enabled)
        verify(child(section, "keepOnlyThis").enabled)
        Driver.settle()
    }
}
