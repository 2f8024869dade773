// Shared by the tool panels' tests: a test case 310 points wide that opens
// pictures with or without their cutout and finds a panel's parts.
import QtQuick
import QtTest
import Zephrin.Model
import Zephrin.Shell
import Zephrin.TestSupport

TestCase {
    id: testCase
    when: windowShown
    visible: true
    width: 310
    height: 1400

    function cleanup() {
        Editor.clearDocument()
        Driver.settle()
        Editor.canvasTool = "View"
        Editor.tool = "cutout"
        Editor.exportFormat = "PNG"
        Editor.exportLongEdge = 2400
        Editor.svgColors = 1
    }

    function openWithCutout() {
        Driver.openPicture(120, 80)
        verify(Editor.cutout !== undefined)
        wait(30)   // the layouts place what the cutout enabled
    }

    function openWithoutCutout() {
        Settings.autoSubjectOnImport = false
        Driver.openPicture(120, 80)
        Settings.autoSubjectOnImport = true
        verify(Editor.document !== undefined && Editor.cutout === undefined)
        wait(30)
    }

    function child(root, name) {
        const found = findChild(root, name)
        verify(found, "no item " + name)
        return found
    }

    // The read-out of a slider row.
    function valueText(root, rowName) {
        return child(child(root, rowName), "valueText").text
    }

    // Presses a slider row's track at its far left or right end.
    function pressSliderEnd(root, rowName, right) {
        const slider = child(child(root, rowName), "slider")
        const y = slider.height / 2
        mousePress(slider, right ? slider.width - 1 : 0, y)
        mouseMove(slider, right ? slider.width + 40 : -40, y)
        mouseRelease(slider, right ? slider.width + 40 : -40, y)
    }

    // The names among `names` whose items are visible.
    function shown(root, names) {
        return names.filter((name) => child(root, name).visible)
    }

    // Whether the item and its ancestors up to `root` draw at `opacity` in all.
    function drawnOpacity(item, root) {
        let total = 1
        for (let i = item; i && i !== root.parent; i = i.parent)
            total *= i.opacity
        return total
    }
}
