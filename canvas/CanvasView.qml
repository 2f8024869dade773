// The workspace: the result fitted to the workspace times the zoom, over the
// checkerboard, with the progress badge, an import button while empty, and a
// drop target for image files; the sticker sheet in its place while the sheet
// tool is chosen.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Shell

Rectangle {
    id: canvas
    radius: 16
    color: Theme.panel
    border.color: Theme.accentTint
    border.width: 1
    clip: true

    readonly property bool sheetTool: Editor.tool === "sheet"
    readonly property bool hasImage: Editor.document !== undefined && !sheetTool

    StickerSheetCanvas {
        objectName: "stickerSheetCanvas"
        anchors.fill: parent
        visible: canvas.sheetTool
    }

    ImageView {
        id: fit
        anchors.fill: parent
        anchors.margins: 24
        visible: false
        image: Commands.displayImage
    }

    Item {
        objectName: "canvasImage"
        visible: canvas.hasImage
        width: fit.paintedRect.width * Editor.zoom
        height: fit.paintedRect.height * Editor.zoom
        anchors.centerIn: parent
        CheckerboardView {
            anchors.fill: parent
            visible: Editor.cutout !== undefined
            cell: 10
        }
        ImageView {
            anchors.fill: parent
            image: Commands.displayImage
        }
        TextHandlesOverlay {
            anchors.fill: parent
            visible: Editor.tool === "text"
            frame: Qt.size(width, height)
            imageSize: Qt.size(fit.image.width, fit.image.height)
        }
    }

    ColumnLayout {
        objectName: "emptyState"
        visible: !canvas.hasImage && !canvas.sheetTool
        anchors.centerIn: parent
        spacing: 16
        ZPIcon {
            Layout.alignment: Qt.AlignHCenter
            symbol: "photo.on.rectangle"
            size: 40
            color: Theme.textTertiary
        }
        Text {
            Layout.alignment: Qt.AlignHCenter
            text: "Drop an image here"
            font: Theme.headlineFont
            color: Theme.textSecondary
        }
        ZPPrimaryButton {
            objectName: "canvasImport"
            Layout.alignment: Qt.AlignHCenter
            text: "Import Image…"
            symbol: "square.and.arrow.down"
            height: 40
            onClicked: Commands.importDocument()
        }
    }

    ProcessingBadge {
        objectName: "processingBadge"
        visible: Editor.isProcessing
        label: Editor.processingLabel
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.top: parent.top
        anchors.topMargin: 16
    }

    DropArea {
        anchors.fill: parent
        keys: ["text/uri-list"]
        onDropped: (drop) => {
            if (drop.hasUrls && drop.urls.length > 0) {
                Commands.openFile(drop.urls[0])
                drop.accept(Qt.CopyAction)
            }
        }
    }
}
