// The sticker sheet in place of the image canvas: the rendered paper, fitted
// like the document image and centred, with an invisible handle over every
// placed sticker that drags it to another spot, where the editor pins it.
// Without a render, a note on what to do next; with one that places nothing,
// why there is nothing to export.
import QtQuick
import QtQuick.Layouts
import Zephrin.Canvas
import Zephrin.Controls
import Zephrin.Model

Item {
    id: sheet

    readonly property bool hasRender: Editor.sheetRender

    SheetCanvasGeometry {
        id: geometry
        area: Qt.size(sheet.width, sheet.height)
        imageSize: Editor.sheetPreviewSize
        paper: Editor.sheetSettings.paper
        zoom: Editor.zoom
    }

    ColumnLayout {
        objectName: "sheetEmptyState"
        visible: !sheet.hasRender
        anchors.centerIn: parent
        spacing: 12
        ZPIcon {
            Layout.alignment: Qt.AlignHCenter
            symbol: "rectangle.grid.2x2"
            size: 34
            color: Theme.accentLight
        }
        Text {
            Layout.alignment: Qt.AlignHCenter
            text: "Sticker sheet is empty"
            font: Theme.headlineFont
            color: Theme.textPrimary
        }
        Text {
            objectName: "sheetEmptyHint"
            Layout.alignment: Qt.AlignHCenter
            Layout.maximumWidth: 360
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            text: Editor.cutout !== undefined
                  ? "Click “Add Current Cutout” in the panel to place this design."
                  : "Import an image and make a cutout, then add it to the sheet."
            font: Theme.bodyFont
            color: Theme.textSecondary
        }
    }

    Item {
        id: paper
        objectName: "sheetPaper"
        visible: sheet.hasRender
        x: geometry.previewRect.x
        y: geometry.previewRect.y
        width: geometry.previewRect.width
        height: geometry.previewRect.height

        ZPShadow {
            color: Theme.sheetShadow
            blur: 18
            offsetY: 8
        }
        ImageView {
            id: preview
            anchors.fill: parent
            image: Editor.sheetPreview
        }

        // Bare paper, because no sticker fits: says so, and why there is
        // nothing to export, where the stickers would be.
        Rectangle {
            objectName: "sheetNothingPlaced"
            visible: Editor.sheetExportRefusal !== ""
            anchors.centerIn: parent
            width: Math.min(parent.width - 32, reason.implicitWidth + 32)
            height: reason.implicitHeight + 20
            radius: 10
            color: Theme.pillBackground
            Text {
                id: reason
                anchors.centerIn: parent
                width: parent.width - 32
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.WordWrap
                text: Editor.sheetExportRefusal
                font: Theme.bodyFont
                color: Theme.textPrimary
            }
        }
    }

    // Rows by the copy's key: a render that lands during a drag keeps the
    // handle, and the drag, of a copy it still has.
    Repeater {
        model: SheetPlacementRows {
            placements: sheet.hasRender ? Editor.sheetLayout.placements : []
        }

        delegate: Item {
            id: handle
            required property string key
            required property var placement
            // Follows the fit: the call alone would not be re-evaluated.
            readonly property rect area: {
                geometry.previewRect;
                return geometry.placementRect(placement);
            }

            objectName: "sheetHandle:" + key
            x: area.x
            y: area.y
            width: area.width
            height: area.height

            SheetHandleDrag {
                id: drag
                editor: Editor
                placement: handle.placement
                pointsPerInch: geometry.pointsPerInch
            }

            // The sticker's old place, veiled while it moves.
            Rectangle {
                anchors.fill: parent
                visible: drag.moving
                color: Theme.sheetVacatedFill
            }

            Item {
                objectName: "sheetHandleSticker"
                visible: drag.moving
                x: drag.offset.x
                y: drag.offset.y
                width: parent.width
                height: parent.height

                readonly property bool hasItem: Editor.sheetItemList.count >= 0
                                                && Editor.sheetItemList.contains(handle.placement.itemID)

                ImageView {
                    anchors.fill: parent
                    anchors.margins: 4
                    opacity: 0.9
                    visible: parent.hasItem
                    image: Editor.sheetItemList.imageOf(handle.placement.itemID)
                }
                DashedFrame {
                    anchors.fill: parent
                    visible: parent.hasItem
                }
            }

            MouseArea {
                anchors.fill: parent
                preventStealing: true
                onPressed: mouse => drag.press(mapToItem(null, mouse.x, mouse.y))
                onPositionChanged: mouse => drag.move(mapToItem(null, mouse.x, mouse.y))
                onReleased: mouse => drag.release(mapToItem(null, mouse.x, mouse.y))
                onCanceled: drag.cancel()
            }
        }
    }
}
