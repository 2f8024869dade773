// One layer's handle on the text overlay: its box (an invisible hit area with
// a dashed outline when selected or hovered), the sprite of the layer while it
// is being moved, and for a selected label the round resize handle at the
// box's bottom-right corner.
//   handles: the overlay's TextHandles;  canvas: the overlay (drags are
//   measured in its space);  model: the layer's row of Editor.textLayerList
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Shapes
import Zephrin.Canvas
import Zephrin.Controls
import Zephrin.Model

Item {
    id: handle
    required property var model
    required property TextHandles handles
    required property Item canvas

    readonly property string layerId: model.id
    readonly property bool selected: Editor.selectedTextID === layerId
    readonly property bool hasShape: model.shape !== ""
    readonly property bool moving: handles.spriteID === layerId
    property size offset: Qt.size(0, 0)
    property bool hovering: boxArea.containsMouse

    // The box in points; follows every change of the layer, the frame and the image.
    readonly property size box: {
        Editor.comp
        Editor.composite
        handles.frame
        handles.imageSize
        return handles.handleSize(layerId)
    }
    readonly property real cx: handles.frame.width * model.x + offset.width
    readonly property real cy: handles.frame.height * model.y + offset.height

    objectName: "textHandle:" + layerId
    anchors.fill: parent

    // An SVG path of a w × h rectangle with corners of radius r.
    function roundedRect(w, h, r) {
        return "M " + r + " 0 L " + (w - r) + " 0 A " + r + " " + r + " 0 0 1 " + w + " " + r
            + " L " + w + " " + (h - r) + " A " + r + " " + r + " 0 0 1 " + (w - r) + " " + h
            + " L " + r + " " + h + " A " + r + " " + r + " 0 0 1 0 " + (h - r)
            + " L 0 " + r + " A " + r + " " + r + " 0 0 1 " + r + " 0 Z"
    }

    ImageView {
        objectName: "sprite"
        visible: handle.moving
        enabled: false
        readonly property size size: visible ? handles.spriteSize() : Qt.size(0, 0)
        image: handles.sprite
        width: size.width
        height: size.height
        x: handle.cx - width / 2
        y: handle.cy - height / 2
    }

    Item {
        id: boxItem
        objectName: "box"
        width: handle.box.width
        height: handle.box.height
        x: handle.cx - width / 2
        y: handle.cy - height / 2

        Shape {
            anchors.fill: parent
            visible: handle.selected || handle.hovering
            enabled: false
            ShapePath {
                strokeColor: handle.selected ? Theme.accent : Theme.handleHover
                strokeWidth: handle.selected ? 2 : 1
                strokeStyle: ShapePath.DashLine
                // Dash lengths count in stroke widths.
                dashPattern: handle.selected ? [2.5, 2] : [3, 4]
                fillColor: Theme.transparent
                PathSvg { path: handle.roundedRect(boxItem.width, boxItem.height, 4) }
            }
        }

        MouseArea {
            id: boxArea
            objectName: "boxArea"
            anchors.fill: parent
            hoverEnabled: true
            acceptedButtons: Qt.LeftButton | Qt.RightButton
            property point start
            property bool dragging: false

            function translation(mouse) {
                const p = mapToItem(handle.canvas, mouse.x, mouse.y)
                return Qt.point(p.x - start.x, p.y - start.y)
            }
            onPressed: (mouse) => {
                start = mapToItem(handle.canvas, mouse.x, mouse.y)
                dragging = false
            }
            onPositionChanged: (mouse) => {
                if (!pressed || !(pressedButtons & Qt.LeftButton))
                    return
                const t = translation(mouse)
                if (!dragging && Math.hypot(t.x, t.y) < 1)
                    return
                dragging = true
                handle.offset = handles.moveChanged(handle.layerId, t.x, t.y)
            }
            onReleased: (mouse) => {
                if (mouse.button === Qt.RightButton) {
                    menu.popup()
                    return
                }
                if (dragging) {
                    const t = translation(mouse)
                    handles.moveEnded(handle.layerId, t.x, t.y)
                    handle.offset = Qt.size(0, 0)
                    dragging = false
                } else {
                    handles.tap(handle.layerId)
                }
            }
            onCanceled: {
                if (dragging)
                    handles.moveEnded(handle.layerId, 0, 0)
                handle.offset = Qt.size(0, 0)
                dragging = false
            }

            ToolTip.visible: containsMouse && !pressed
            ToolTip.delay: 800
            ToolTip.text: "Click to select. Drag or use the arrow keys to move. Delete removes it."
        }

        // The resize handle, straddling the box's bottom-right corner.
        Rectangle {
            objectName: "resizeHandle"
            visible: handle.selected && handle.hasShape && !handle.moving
            width: 13
            height: 13
            radius: 6.5
            x: parent.width - width / 2
            y: parent.height - height / 2
            color: Theme.handleFill
            border.color: Theme.accent
            border.width: 2

            MouseArea {
                id: resizeArea
                objectName: "resizeArea"
                anchors.fill: parent
                anchors.margins: -5
                hoverEnabled: true
                preventStealing: true
                property point start
                property bool dragging: false
                onPressed: (mouse) => {
                    start = mapToItem(handle.canvas, mouse.x, mouse.y)
                    dragging = false
                }
                onPositionChanged: (mouse) => {
                    if (!pressed)
                        return
                    const p = mapToItem(handle.canvas, mouse.x, mouse.y)
                    const dx = p.x - start.x
                    const dy = p.y - start.y
                    if (!dragging && Math.hypot(dx, dy) < 1)
                        return
                    dragging = true
                    handles.resizeChanged(handle.layerId, dx, dy, (mouse.modifiers & Qt.ShiftModifier) !== 0)
                }
                onReleased: {
                    if (dragging)
                        handles.resizeEnded(handle.layerId)
                    dragging = false
                }
                ToolTip.visible: containsMouse && !pressed
                ToolTip.delay: 800
                ToolTip.text: "Drag to resize. Hold Shift to keep the proportions."
            }
        }
    }

    Menu {
        id: menu
        MenuItem {
            text: "Duplicate"
            onTriggered: Editor.duplicateTextLayer(handle.layerId)
        }
        MenuItem {
            text: "Delete"
            onTriggered: Editor.deleteTextLayer(handle.layerId)
        }
    }
}
