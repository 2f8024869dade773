// The workspace of batch mode: one tile per queued image, the drop target
// that adds files to the queue, and the way back to the editor (a tile opens
// its image there).
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Shapes
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Pickers
import Zephrin.Shell

Item {
    id: grid
    readonly property var batch: Editor.batch
    // True while a drag of files hovers over the view.
    readonly property bool dropTargeted: dropArea.containsDrag

    // A tile was tapped: leave batch mode and open its file in the editor,
    // asking first when that discards work.
    function openItem(url) {
        Commands.openBatchItem(url)
    }

    Rectangle {
        anchors.fill: parent
        radius: 16
        color: Theme.imageWell
    }

    ColumnLayout {
        objectName: "batchEmptyState"
        visible: grid.batch.total === 0
        anchors.centerIn: parent
        spacing: 12
        ZPIcon {
            Layout.alignment: Qt.AlignHCenter
            symbol: "square.grid.3x3.square"
            size: 44
            color: Theme.textTertiary
        }
        Text {
            Layout.alignment: Qt.AlignHCenter
            text: "Drop images here"
            font: Theme.headlineFont
            color: Theme.textSecondary
        }
        Text {
            Layout.alignment: Qt.AlignHCenter
            Layout.maximumWidth: 340
            text: "Or use “Add Images…” in the panel. Every image gets the same cutout, then Export All writes them to a folder."
            font: Theme.captionFont
            color: Theme.textTertiary
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
        }
    }

    GridView {
        id: tiles
        objectName: "batchTiles"
        visible: grid.batch.total > 0
        readonly property int columns: BatchRules.gridColumns(grid.width)
        readonly property real tileWidth: BatchRules.tileWidth(grid.width)
        // Each cell holds a tile and the gap after it; the grid is centred.
        x: (grid.width - columns * cellWidth + BatchRules.gap) / 2
        y: 16
        width: columns * cellWidth
        height: grid.height - 16
        bottomMargin: 16
        clip: true
        cellWidth: tileWidth + BatchRules.gap
        cellHeight: 150 + 6 + 14 + BatchRules.gap
        model: grid.batch.items
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

        delegate: BatchTile {
            width: tiles.tileWidth
            onOpened: grid.openItem(url)
        }
    }

    // The drop outline: a dashed rounded rectangle, 2 wide, its line inset by
    // half its width inside a frame 2 in from the edge.
    Shape {
        id: outline
        objectName: "dropOutline"
        visible: grid.dropTargeted
        anchors.fill: parent
        readonly property real inset: 2 + 1
        readonly property real far: width - inset
        readonly property real low: height - inset
        readonly property real r: 16
        ShapePath {
            strokeColor: Theme.accentLight
            strokeWidth: 2
            fillColor: Theme.transparent
            capStyle: ShapePath.FlatCap
            joinStyle: ShapePath.MiterJoin
            miterLimit: 10
            strokeStyle: ShapePath.DashLine
            // The pattern counts in stroke widths: 8 on, 5 off.
            dashPattern: [4, 2.5]
            startX: outline.inset + outline.r
            startY: outline.inset
            PathLine { x: outline.far - outline.r; y: outline.inset }
            PathArc { x: outline.far; y: outline.inset + outline.r; radiusX: outline.r; radiusY: outline.r }
            PathLine { x: outline.far; y: outline.low - outline.r }
            PathArc { x: outline.far - outline.r; y: outline.low; radiusX: outline.r; radiusY: outline.r }
            PathLine { x: outline.inset + outline.r; y: outline.low }
            PathArc { x: outline.inset; y: outline.low - outline.r; radiusX: outline.r; radiusY: outline.r }
            PathLine { x: outline.inset; y: outline.inset + outline.r }
            PathArc { x: outline.inset + outline.r; y: outline.inset; radiusX: outline.r; radiusY: outline.r }
        }
    }

    DropArea {
        id: dropArea
        objectName: "batchDropArea"
        anchors.fill: parent
        keys: ["text/uri-list"]
        onDropped: (drop) => {
            grid.batch.add(drop.urls)
            drop.accept(Qt.CopyAction)
        }
    }
}
