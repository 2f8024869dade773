// The small turning arc that says work is under way.
//   size:    side of the square it turns in
//   running: whether it turns (stop it while hidden)
import QtQuick
import QtQuick.Shapes
import Zephrin.Controls

Item {
    id: spinner
    property real size: 14
    property bool running: visible

    implicitWidth: size
    implicitHeight: size

    Shape {
        anchors.fill: parent
        RotationAnimator on rotation {
            from: 0; to: 360; duration: 900
            loops: Animation.Infinite
            running: spinner.running
        }
        ShapePath {
            strokeColor: Theme.accentLight
            strokeWidth: 2
            fillColor: Theme.transparent
            capStyle: ShapePath.RoundCap
            PathAngleArc {
                centerX: spinner.size / 2; centerY: spinner.size / 2
                radiusX: spinner.size / 2 - 1; radiusY: spinner.size / 2 - 1
                startAngle: 0
                sweepAngle: 270
            }
        }
    }
}
