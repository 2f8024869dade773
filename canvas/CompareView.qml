// Before and after: the unedited image left of the divider, the result right
// of it at the canvas's displayed size and centred (the pan does not apply
// here). The unedited image lies where the result shows each of its pixels,
// whatever crop, trim, padding, aspect or mirror the result has. The knob
// moves the divider; the result side drags out as a PNG.
//   surface: the canvas item, for the images and where they go
//   cornerRadius: the canvas frame's, for the unedited side's backdrop
import QtQuick
import Zephrin.Canvas
import Zephrin.Controls
import Zephrin.Model

Item {
    id: compare
    required property CanvasSurface surface
    property real cornerRadius: 0
    readonly property rect resultRect: surface.compareResultRect
    readonly property rect originalRect: surface.compareOriginalRect
    readonly property real dividerX: width * Editor.comparePosition

    // The unedited side.
    Item {
        objectName: "compareOriginal"
        width: compare.dividerX
        height: compare.height
        clip: true
        Rectangle {
            width: compare.width
            height: compare.height
            radius: compare.cornerRadius
            color: Theme.imageWell
        }
        ImageView {
            objectName: "compareOriginalImage"
            x: compare.originalRect.x
            y: compare.originalRect.y
            width: compare.originalRect.width
            height: compare.originalRect.height
            image: compare.surface.originalImage
            transform: Scale {
                origin.x: compare.originalRect.width / 2
                xScale: compare.surface.compareOriginalMirrored ? -1 : 1
            }
        }
    }

    // The result, over the checkerboard.
    Item {
        id: resultSide
        objectName: "compareResult"
        x: compare.dividerX
        width: Math.max(compare.width - compare.dividerX, 0)
        height: compare.height
        clip: true
        ImageView {
            objectName: "compareResultImage"
            x: compare.resultRect.x - compare.dividerX
            y: compare.resultRect.y
            width: compare.resultRect.width
            height: compare.resultRect.height
            image: compare.surface.resultImage
        }
        MouseArea {
            anchors.fill: parent
            property point pressedAt
            property bool dragging: false
            onPressed: (mouse) => {
                pressedAt = Qt.point(mouse.x, mouse.y)
                dragging = false
                CanvasActions.prepareDragOut(Editor)
            }
            onReleased: CanvasActions.cancelDragOut()
            onCanceled: CanvasActions.cancelDragOut()
            onPositionChanged: (mouse) => {
                if (dragging || Math.hypot(mouse.x - pressedAt.x, mouse.y - pressedAt.y) < Qt.styleHints.startDragDistance)
                    return
                dragging = true
                CanvasActions.dragOut(Editor, resultSide)
            }
        }
    }

    Rectangle {
        objectName: "compareDivider"
        x: compare.dividerX - 1
        width: 2
        height: compare.height
        color: Theme.textPrimary
    }

    Rectangle {
        objectName: "compareKnob"
        x: compare.dividerX - 22
        y: compare.height / 2 - 22
        width: 44
        height: 44
        radius: 22
        color: Theme.background
        border.color: Theme.textPrimary
        border.width: 2
        ZPIcon {
            anchors.centerIn: parent
            symbol: "arrow.left.and.right"
            size: 14
            color: Theme.textPrimary
        }
        MouseArea {
            anchors.fill: parent
            preventStealing: true
            function follow(mouse) {
                CanvasActions.dragCompare(Editor, mapToItem(compare, mouse.x, mouse.y).x, compare.width)
            }
            onPressed: (mouse) => follow(mouse)
            onPositionChanged: (mouse) => follow(mouse)
        }
    }

    ComparePill {
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.margins: 12
        text: "Original"
    }
    ComparePill {
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.margins: 12
        text: "Cutout"
    }
}
