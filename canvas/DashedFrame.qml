// The violet dashed outline of a sticker being moved on the sheet: a rounded
// rectangle (radius 6) stroked 1.5 points, dashes 5 on, 4 off, square ends.
import QtQuick
import QtQuick.Shapes
import Zephrin.Controls

Shape {
    id: frame
    readonly property real lineWidth: 1.5
    readonly property real cornerRadius: Math.min(6, width / 2, height / 2)
    // Inset by half the line, so the stroke stays inside the item.
    readonly property real frameLeft: lineWidth / 2
    readonly property real frameTop: lineWidth / 2
    readonly property real frameRight: width - lineWidth / 2
    readonly property real frameBottom: height - lineWidth / 2

    ShapePath {
        strokeColor: Theme.accent
        strokeWidth: frame.lineWidth
        fillColor: Theme.transparent
        strokeStyle: ShapePath.DashLine
        // Dash lengths count in stroke widths.
        dashPattern: [5 / frame.lineWidth, 4 / frame.lineWidth]
        capStyle: ShapePath.FlatCap
        joinStyle: ShapePath.MiterJoin
        startX: frame.frameLeft + frame.cornerRadius
        startY: frame.frameTop
        PathLine { x: frame.frameRight - frame.cornerRadius; y: frame.frameTop }
        PathArc { x: frame.frameRight; y: frame.frameTop + frame.cornerRadius; radiusX: frame.cornerRadius; radiusY: frame.cornerRadius }
        PathLine { x: frame.frameRight; y: frame.frameBottom - frame.cornerRadius }
        PathArc { x: frame.frameRight - frame.cornerRadius; y: frame.frameBottom; radiusX: frame.cornerRadius; radiusY: frame.cornerRadius }
        PathLine { x: frame.frameLeft + frame.cornerRadius; y: frame.frameBottom }
        PathArc { x: frame.frameLeft; y: frame.frameBottom - frame.cornerRadius; radiusX: frame.cornerRadius; radiusY: frame.cornerRadius }
        PathLine { x: frame.frameLeft; y: frame.frameTop + frame.cornerRadius }
        PathArc { x: frame.frameLeft + frame.cornerRadius; y: frame.frameTop; radiusX: frame.cornerRadius; radiusY: frame.cornerRadius }
    }
}
