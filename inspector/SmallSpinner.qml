// A small turning arc that says work is under way.
import QtQuick
import QtQuick.Shapes
import Zephrin.Controls

Item {
    id: spinner
    implicitWidth: 12
    implicitHeight: 12
    Accessible.role: Accessible.Indicator

    Shape {
        anchors.fill: parent
        RotationAnimator on rotation {
            from: 0; to: 360; duration: 900
            loops: Animation.Infinite
            running: spinner.visible
        }
        ShapePath {
            strokeColor: Theme.accentLight
            strokeWidth: 1.5
            fillColor: Theme.transparent
            capStyle: ShapePath.RoundCap
            PathAngleArc {
                centerX: 6; centerY: 6
                radiusX: 5; radiusY: 5
                startAngle: 0
                sweepAngle: 270
            }
        }
    }
}
