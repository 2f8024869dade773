// Three equal columns of tiles, 8 apart, made only as they come near the
// visible part of the scrolling view that holds the grid: the grid takes the
// height of all its rows, and a grid view the size of the visible part of it
// is kept over that part, so only the tiles in view (and a row or so beyond)
// exist, and scrolling is what makes more (and asks for their thumbnails).
// Without a scrolling view around it every tile is made.
//   model, delegate: the tiles;  tileHeight: every tile's height
//   rowSpacing;  tileWidth, captionHeight: for the delegates' sizes
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls

Item {
    id: grid
    property alias model: view.model
    property alias delegate: view.delegate
    property real tileHeight: tileWidth / 1.5
    property real rowSpacing: 8
    readonly property int columns: 3
    readonly property real columnSpacing: 8
    readonly property real tileWidth: Math.max(0, (width - 2 * columnSpacing) / columns)
    // The height of a one-line caption below a tile's picture.
    readonly property real captionHeight: Math.ceil(captionMetrics.height)
    readonly property int rows: Math.ceil(view.count / columns)

    implicitHeight: rows > 0 ? rows * (tileHeight + rowSpacing) - rowSpacing : 0
    // A layout would keep the last height of a grid that became empty.
    Layout.preferredHeight: implicitHeight

    // The nearest scrolling view around the grid; none in a plain window.
    property Item flick: null
    // The part of the grid in view, in its own coordinates.
    property real shownTop: 0
    property real shownBottom: height

    function place() {
        let top = 0
        let bottom = grid.height
        if (flick) {
            const offset = grid.mapToItem(flick.contentItem, 0, 0).y
            top = Math.max(0, flick.contentY - offset)
            bottom = Math.min(grid.height, flick.contentY + flick.height - offset)
        }
        shownTop = Math.min(top, grid.height)
        shownBottom = Math.max(bottom, shownTop)
        view.contentY = view.y
    }

    // The items between the grid and the scrolling view's content: a move of
    // any of them moves the grid in the content.
    property var carriers: []

    onHeightChanged: place()
    Component.onCompleted: {
        let carriers = []
        for (let p = grid; p; p = p.parent) {
            if (p.contentItem !== undefined && p.contentY !== undefined && p.flicking !== undefined) {
                flick = p
                break
            }
            carriers.push(p)
        }
        if (!flick)
            carriers = []
        for (const item of carriers)
            item.yChanged.connect(grid.place)
        grid.carriers = carriers
        place()
    }
    Component.onDestruction: {
        for (const item of carriers) {
            if (item)
                item.yChanged.disconnect(grid.place)
        }
    }
    Connections {
        target: grid.flick
        function onContentYChanged() { grid.place() }
        function onHeightChanged() { grid.place() }
    }

    FontMetrics {
        id: captionMetrics
        font: Theme.captionFont
    }

    GridView {
        id: view
        objectName: "tileView"
        x: 0
        y: grid.shownTop
        width: grid.width + grid.columnSpacing
        height: grid.shownBottom - grid.shownTop
        cellWidth: width / grid.columns
        cellHeight: grid.tileHeight + grid.rowSpacing
        interactive: false
        cacheBuffer: 120
        currentIndex: -1
        // The view shows the grid's own rows at its place.
        onYChanged: contentY = y
        onContentYChanged: if (contentY !== y) contentY = y
        onCountChanged: grid.place()
    }
}
