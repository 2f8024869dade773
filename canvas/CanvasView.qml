// The workspace canvas: the shown image (composite, else cutout, else the
// document) over the checkerboard, fitted into the region less 24 points a
// side, times the zoom, moved by the pan; the tools' gestures and marks over
// it, the text handles with the text tool, the zoom bar; the compare view in
// its place while comparing; the sticker sheet while the sheet tool is
// chosen; an empty state; the progress badge; and a drop target for images
// from elsewhere (a drag out of this window is never taken back in, nor a
// drop while a modal sheet or question is open).
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Shapes
import Zephrin.Canvas
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Shell

Item {
    id: canvas

    readonly property bool sheetTool: Editor.tool === "sheet"
    readonly property bool hasDocument: Editor.document !== undefined
    readonly property bool hasResult: Editor.composite !== undefined || Editor.cutout !== undefined
    readonly property bool compareShown: Editor.compareEnabled && hasResult && hasDocument && !sheetTool
    readonly property bool mainShown: hasDocument && !sheetTool && !compareShown
    property bool dropTargeted: false

    // The region's clip is square: what fills it whole (the checkerboard,
    // the compare view's backdrop) rounds its own corners to the frame's.
    readonly property real cornerRadius: 14

    Item {
        id: region
        anchors.fill: parent
        clip: true

        CheckerboardView {
            anchors.fill: parent
            cell: 12
            cornerRadius: canvas.cornerRadius
        }

        StickerSheetCanvas {
            objectName: "stickerSheetCanvas"
            anchors.fill: parent
            visible: canvas.sheetTool
        }

        Item {
            id: mainCanvas
            objectName: "mainCanvas"
            anchors.fill: parent
            visible: canvas.mainShown

            CanvasSurface {
                id: surface
                objectName: "canvasSurface"
                anchors.fill: parent
                editor: Editor
                inputArea: mainCanvas
            }
            Item {
                objectName: "canvasImage"
                x: surface.imageRect.x
                y: surface.imageRect.y
                width: surface.imageRect.width
                height: surface.imageRect.height
                ImageView {
                    anchors.fill: parent
                    image: Commands.displayImage
                }
            }
            CanvasOverlay {
                objectName: "canvasOverlay"
                anchors.fill: parent
                visible: surface.effectiveTool !== "View"
                surface: surface
                accentColor: Theme.accent
                successColor: Theme.success
                eraseColor: Theme.eraseMark
            }
            TextHandlesOverlay {
                objectName: "textHandles"
                visible: Editor.tool === "text"
                x: surface.imageRect.x
                y: surface.imageRect.y
                width: surface.imageRect.width
                height: surface.imageRect.height
                frame: Qt.size(width, height)
                imageSize: surface.imageSize
                inputArea: mainCanvas
            }
            // The drag-out hint over the image, where a press starts a drag
            // out: the surface says when and where (DragOutHint), below and
            // right of the pointer, as the desktop places tips.
            Item {
                id: hintArea
                objectName: "dragOutHintArea"
                x: surface.imageRect.x
                y: surface.imageRect.y
                width: surface.imageRect.width
                height: surface.imageRect.height
                visible: surface.offersDragOut
                readonly property alias hint: dragHint

                ToolTip {
                    id: dragHint
                    objectName: "dragOutHint"
                    x: surface.dragOutHintAt.x - hintArea.x + 4
                    y: surface.dragOutHintAt.y - hintArea.y + 20
                    text: "Drag to another app or the file manager to export a PNG"
                }
                Connections {
                    target: surface
                    function onDragOutHintChanged() {
                        if (surface.dragOutHintShown)
                            dragHint.open()
                        else
                            dragHint.close()
                    }
                }
            }
            CanvasZoomBar {
                objectName: "canvasZoomBar"
                anchors.left: parent.left
                anchors.bottom: parent.bottom
                anchors.margins: 12
            }
        }

        CompareView {
            objectName: "compareView"
            anchors.fill: parent
            visible: canvas.compareShown
            surface: surface
            cornerRadius: canvas.cornerRadius
        }

        Column {
            objectName: "emptyState"
            visible: !canvas.hasDocument && !canvas.sheetTool
            anchors.centerIn: parent
            spacing: 12
            ZPIcon {
                anchors.horizontalCenter: parent.horizontalCenter
                symbol: "square.and.arrow.down"
                size: 34
                color: Theme.accentLight
            }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: "Drop an image to start"
                font: Theme.headlineFont
                color: Theme.textPrimary
            }
            Text {
                objectName: "emptyStateFormats"
                anchors.horizontalCenter: parent.horizontalCenter
                text: CanvasActions.importableFormats
                font: Theme.bodyFont
                color: Theme.textSecondary
            }
            Item {
                anchors.horizontalCenter: parent.horizontalCenter
                width: importButton.width
                height: importButton.height + 8
                ZPSecondaryButton {
                    id: importButton
                    objectName: "canvasImport"
                    y: 8
                    text: "Import"
                    symbol: "square.and.arrow.down"
                    height: 36
                    onClicked: Commands.importDocument()
                }
            }
        }

        ProcessingBadge {
            objectName: "processingBadge"
            visible: Editor.isProcessing
            label: Editor.processingLabel
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            anchors.margins: 12
        }

        // The drop highlight: a dashed rounded frame (8 on, 6 off) over a violet wash.
        Shape {
            id: dropHighlight
            objectName: "dropHighlight"
            anchors.fill: parent
            visible: canvas.dropTargeted
            readonly property real r: canvas.cornerRadius
            readonly property real a: 1
            readonly property real w: width - 1
            readonly property real h: height - 1
            ShapePath {
                strokeColor: Theme.accent
                strokeWidth: 2
                fillColor: Theme.dropFill
                strokeStyle: ShapePath.DashLine
                dashPattern: [4, 3]
                miterLimit: 10
                startX: dropHighlight.a + dropHighlight.r
                startY: dropHighlight.a
                PathLine { x: dropHighlight.w - dropHighlight.r; y: dropHighlight.a }
                PathArc {
                    x: dropHighlight.w; y: dropHighlight.a + dropHighlight.r
                    radiusX: dropHighlight.r; radiusY: dropHighlight.r
                }
                PathLine { x: dropHighlight.w; y: dropHighlight.h - dropHighlight.r }
                PathArc {
                    x: dropHighlight.w - dropHighlight.r; y: dropHighlight.h
                    radiusX: dropHighlight.r; radiusY: dropHighlight.r
                }
                PathLine { x: dropHighlight.a + dropHighlight.r; y: dropHighlight.h }
                PathArc {
                    x: dropHighlight.a; y: dropHighlight.h - dropHighlight.r
                    radiusX: dropHighlight.r; radiusY: dropHighlight.r
                }
                PathLine { x: dropHighlight.a; y: dropHighlight.a + dropHighlight.r }
                PathArc {
                    x: dropHighlight.a + dropHighlight.r; y: dropHighlight.a
                    radiusX: dropHighlight.r; radiusY: dropHighlight.r
                }
            }
        }
    }

    // The region's clip is square; whatever fills it (an image zoomed past
    // the frame included) is rounded by covering the four corners outside
    // the frame's radius with what lies behind the canvas: the window's
    // backdrop, its colour and, over it, its glow from the middle of the
    // window's top edge.
    Shape {
        id: cornerCovers
        objectName: "cornerCovers"
        anchors.fill: parent
        readonly property real r: canvas.cornerRadius
        // Each corner from its edge point round the arc, counterclockwise.
        readonly property string corners: {
            const w = width, h = height, r = cornerCovers.r
            const corner = (x0, y0, x1, y1, cx, cy) =>
                `M ${cx} ${cy} L ${x0} ${y0} A ${r} ${r} 0 0 0 ${x1} ${y1} Z `
            return corner(r, 0, 0, r, 0, 0) + corner(w, r, w - r, 0, w, 0) +
                   corner(w - r, h, w, h - r, w, h) + corner(0, h - r, r, h, 0, h)
        }
        // The middle of the window's top edge, here; the canvas moves only
        // as the window changes size.
        readonly property point glowCentre: {
            width; height; Window.width; Window.height
            return mapFromItem(null, Window.width / 2, 0)
        }
        ShapePath {
            strokeWidth: -1
            fillColor: Theme.background
            PathSvg { path: cornerCovers.corners }
        }
        ShapePath {
            strokeWidth: -1
            fillGradient: RadialGradient {
                centerX: cornerCovers.glowCentre.x
                centerY: cornerCovers.glowCentre.y
                centerRadius: Theme.glowRadius
                focalX: centerX
                focalY: centerY
                GradientStop { position: 0; color: Theme.glowInner }
                GradientStop { position: 1; color: Theme.glowOuter }
            }
            PathSvg { path: cornerCovers.corners }
        }
    }

    // The frame over the clipped region.
    Rectangle {
        anchors.fill: parent
        radius: canvas.cornerRadius
        color: Theme.transparent
        border.color: Theme.accentTint
        border.width: 1
    }

    DropArea {
        anchors.fill: parent
        keys: ["text/uri-list"]
        function ownDrag(drag) {
            return DragOut.startedHere(drag.getDataAsString(DragOut.sourceFormat))
        }
        // Behind an open sheet or question nothing is taken, as with keys.
        onEntered: (drag) => {
            if (!surface.takesDrops() || ownDrag(drag)) {
                drag.accepted = false
                return
            }
            canvas.dropTargeted = drag.hasUrls
        }
        onExited: canvas.dropTargeted = false
        onDropped: (drop) => {
            canvas.dropTargeted = false
            if (!drop.hasUrls || drop.urls.length === 0 || !surface.takesDrops() || ownDrag(drop))
                return
            Commands.openFiles(drop.urls)
            drop.accept(Qt.CopyAction)
        }
    }
}
