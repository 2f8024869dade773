// The handles of the text and label layers over the shown image: click a
// layer to select it, drag it to move it (a sprite of it follows the pointer
// and the position is written when the drag ends), drag a selected label's
// round corner to resize it (Shift keeps the proportions), right-click for
// Duplicate and Delete; a click on empty space deselects. Escape, Backspace,
// Delete and the arrows act on the selected layer through the window's key
// filter (TextHandles). The overlay's top-left corner is the image's.
//   frame:     the displayed size of the shown image, in points
//   imageSize: its size in pixels
//   inputArea: the canvas, where the pointer and the focus count for keys
//              (the overlay itself when unset)
import QtQuick
import QtQuick.Shapes
import Zephrin.Canvas
import Zephrin.Controls
import Zephrin.Model

Item {
    id: overlay
    property size frame
    property size imageSize
    property Item inputArea: null

    implicitWidth: frame.width
    implicitHeight: frame.height

    TextHandles {
        id: handlesItem
        objectName: "textHandles"
        anchors.fill: parent
        editor: Editor
        frame: overlay.frame
        imageSize: overlay.imageSize
        inputArea: overlay.inputArea

        // A click on empty space deselects.
        MouseArea {
            objectName: "textBackground"
            anchors.fill: parent
            onClicked: handlesItem.clearSelection()
        }

        Repeater {
            model: Editor.textLayerList
            delegate: TextHandle {
                handles: handlesItem
                canvas: overlay
            }
        }
    }

    // The image's bounds.
    Shape {
        anchors.fill: parent
        enabled: false
        ShapePath {
            strokeColor: Theme.handleBounds
            strokeWidth: 1
            strokeStyle: ShapePath.DashLine
            dashPattern: [4, 4]
            fillColor: Theme.transparent
            startX: 0.5; startY: 0.5
            PathLine { x: overlay.width - 0.5; y: 0.5 }
            PathLine { x: overlay.width - 0.5; y: overlay.height - 0.5 }
            PathLine { x: 0.5; y: overlay.height - 0.5 }
            PathLine { x: 0.5; y: 0.5 }
        }
    }
}
