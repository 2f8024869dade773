// Three equal columns of tiles, 8 apart. Tiles are placed as the model says;
// a tile loads its picture once it is near the visible part of the scrolling
// view that holds the grid (seen()), so scrolling down is what asks for more
// thumbnails.
//   model, delegate: the tiles;  rowSpacing
import QtQuick

Grid {
    id: grid
    property alias model: repeater.model
    property alias delegate: repeater.delegate
    readonly property real tileWidth: Math.max(0, (width - 2 * columnSpacing) / 3)

    columns: 3
    columnSpacing: 8
    rowSpacing: 8

    // The nearest scrolling view around the grid; none in a plain window,
    // where every tile counts as seen.
    property Item flick: null
    readonly property real visibleTop: flick ? flick.contentY - grid.mapToItem(flick.contentItem, 0, 0).y : 0
    readonly property real visibleBottom: flick ? visibleTop + flick.height : Number.POSITIVE_INFINITY

    function seen(y, height) {
        return y + height >= visibleTop - 120 && y <= visibleBottom + 120
    }

    Component.onCompleted: {
        for (let p = grid.parent; p; p = p.parent) {
            if (p.contentItem !== undefined && p.contentY !== undefined && p.flicking !== undefined) {
                flick = p
                return
            }
        }
    }

    Repeater { id: repeater }
}
