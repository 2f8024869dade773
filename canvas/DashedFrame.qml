// The violet dashed outline of a sticker being moved on the sheet: a rounded
// rectangle (radius 6) stroked 1.5 points, dashes 5 on, 4 off, square ends.
import QtQuick
import QtQuick.Shapes
import Zephrin.Controls

Shape {
    id: frame
    readonly property real line: 1.5
    readonly property real radius: Math.min(6, width / 2, height / 2)
    // Inset by half the line, so the stroke stays inside the item.
    readonly property real left: line / 2
    readonly property real top: line / 2
    readonly property real right: width - line / 2
    readonly property real bottom: height - line / 2

    ShapePath {
        strokeColor: Theme.accent
        strokeWidth: frame.line
        fillColor: Theme.transparent
        strokeStyle: ShapePath.DashLine
        // Dash lengths count in stroke widths.
        dashPattern: [5 / frame.line, 4 / frame.line]
        capStyle: ShapePath.FlatCap
        joinStyle: ShapePath.MiterJoin
        startX: frame.left + frame.radius
        startY: frame.top
        PathLine { x: frame.right - frame.radius; y: frame.top }
        PathArc { x: frame.right; y: frame.top + frame.radius; radiusX: frame.radius; radiusY: frame.radius }
        PathLine { x: frame.right; y: frame.bottom - frame.radius }
        PathArc { x: frame.right - frame.radius; y: frame.bottom; radiusX: frame.radius; radiusY: frame.radius }
        PathLine { x: frame.left + frame.radius; y: frame.bottom }
        PathArc { x: frame.left; y: frame.bottom - frame.radius; radiusX: frame.radius; radiusY: frame.radius }
        PathLine { x: frame.left; y: frame.top + frame.radius }
        PathArc { x: frame.left + frame.radius; y: frame.top; radiusX: frame.radius; radiusY: frame.radius }
    }
}
