// The text handles over a shown image: clicks select and deselect, a drag
// moves the layer with a sprite and writes once at the end, the resize handle
// shows for a selected label only, and keys act on the selected layer unless
// a text field has the focus.
import QtQuick
import QtQuick.Controls.Basic
import QtTest
import Zephrin.Canvas
import Zephrin.Model
import Zephrin.TestSupport
import "../../pickers/qml"

PickerHarness {
    id: test
    name: "TextHandles"

    Component {
        id: sceneComponent
        Item {
            width: 400
            height: 400
            property alias overlay: overlay
            property alias field: field
            // The document is 120 × 80 px, shown twice as large.
            TextHandlesOverlay {
                id: overlay
                frame: Qt.size(240, 160)
                imageSize: Qt.size(120, 80)
            }
            TextField {
                id: field
                objectName: "field"
                y: 300
                width: 120
                text: "abc"
            }
        }
    }

    function makeScene() {
        const scene = createTemporaryObject(sceneComponent, test)
        verify(scene)
        Editor.tool = "text"
        return scene
    }

    function init() { freshDocument() }
    function cleanup() { Editor.tool = "cutout" }

    function handleBox(scene, id) { return item(item(scene.overlay, "textHandle:" + id), "boxArea") }

    function test_keysReachAFocusedTextField() {
        const scene = makeScene()
        Editor.addShapeLayer("rect")
        const x = layers()[0].x
        scene.field.forceActiveFocus()
        scene.field.cursorPosition = 3
        keyClick(Qt.Key_Backspace)
        compare(scene.field.text, "ab")
        keyClick(Qt.Key_Left)
        compare(layers().length, 1)
        compare(layers()[0].x, x)
        keyClick(Qt.Key_Escape)
        verify(Editor.selectedTextID !== "")
    }

    function test_keysActOnTheSelectedLayer() {
        const scene = makeScene()
        Editor.addShapeLayer("rect")
        Editor.setTextField(Editor.selectedTextID, "shapeW", 0.2)
        Editor.setTextField(Editor.selectedTextID, "shapeH", 0.2)
        scene.forceActiveFocus()
        keyClick(Qt.Key_Right)
        fuzzyCompare(layers()[0].x, 0.5 + 1 / 120, 1e-9)
        keyClick(Qt.Key_Down, Qt.ShiftModifier)
        fuzzyCompare(layers()[0].y, 0.5 + 10 / 80, 1e-9)
        keyClick(Qt.Key_Escape)
        compare(Editor.selectedTextID, "")
        // Nothing selected: the arrows change nothing.
        keyClick(Qt.Key_Left)
        fuzzyCompare(layers()[0].x, 0.5 + 1 / 120, 1e-9)
        Editor.selectedTextID = layers()[0].id
        keyClick(Qt.Key_Backspace)
        compare(Editor.selectedTextID, "")
        Driver.settle()
        compare(layers().length, 0)
    }

    function test_withoutAPixelSizeTheShownImageCounts() {
        const scene = makeScene()
        scene.overlay.imageSize = Qt.size(0, 0)
        Editor.addShapeLayer("rect")
        Editor.setTextField(Editor.selectedTextID, "shapeW", 0.2)
        scene.forceActiveFocus()
        keyClick(Qt.Key_Right)
        fuzzyCompare(layers()[0].x, 0.5 + 1 / 120, 1e-9)
        // The handle is as large as the label over the 120 × 80 image, shown twice as large.
        const box = item(item(scene.overlay, "textHandle:" + Editor.selectedTextID), "box")
        fuzzyCompare(box.width, 2 * Math.ceil(0.2 * 80) + 16, 1)
    }

    function test_clicksSelectAndDeselect() {
        const scene = makeScene()
        Editor.addTextLayer()
        const id = Editor.selectedTextID
        Editor.selectedTextID = ""
        mouseClick(handleBox(scene, id))
        compare(Editor.selectedTextID, id)
        mouseClick(item(scene.overlay, "textBackground"), 5, 150)
        compare(Editor.selectedTextID, "")
    }

    function test_aDragMovesWithASpriteAndWritesAtTheEnd() {
        const scene = makeScene()
        Editor.addShapeLayer("rect")
        const id = Editor.selectedTextID
        Editor.setTextField(id, "shapeW", 0.2)
        Editor.setTextField(id, "shapeH", 0.2)
        // The pointer in the overlay's space, where the label's centre is (120, 80).
        const overlay = scene.overlay
        compSpy.clear()
        mousePress(overlay, 120, 80)
        mouseMove(overlay, 130, 80)
        mouseMove(overlay, 144, 96)
        compare(Editor.draggingTextID, id)
        verify(item(item(overlay, "textHandle:" + id), "sprite").visible)
        compare(compSpy.count, 0)
        mouseRelease(overlay, 144, 96)
        compare(compSpy.count, 2)
        compare(Editor.draggingTextID, "")
        fuzzyCompare(layers()[0].x, 0.5 + 24 / 240, 1e-9)
        fuzzyCompare(layers()[0].y, 0.5 + 16 / 160, 1e-9)
    }

    function test_onlyASelectedLabelHasAResizeHandle() {
        const scene = makeScene()
        Editor.addTextLayer()
        const text = Editor.selectedTextID
        verify(!item(item(scene.overlay, "textHandle:" + text), "resizeHandle").visible)
        Editor.addShapeLayer("rect")
        const label = Editor.selectedTextID
        const handle = item(item(scene.overlay, "textHandle:" + label), "resizeHandle")
        verify(handle.visible)
        const w = layers()[1].shapeW
        mouseDrag(item(handle, "resizeArea"), 5, 5, 20, 0)
        verify(layers()[1].shapeW > w)
        Editor.selectedTextID = text
        verify(!handle.visible)
    }

    SignalSpy { id: compSpy; target: Editor; signalName: "compChanged" }
}
