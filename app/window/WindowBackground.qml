// The window's backdrop: the darkest surface with a violet glow spreading from
// the middle of the top edge.
import QtQuick
import QtQuick.Shapes
import Zephrin.Controls

Rectangle {
    id: backdrop
    color: Theme.background

    Shape {
        anchors.fill: parent
        ShapePath {
            strokeColor: Theme.transparent
            fillGradient: RadialGradient {
                centerX: backdrop.width / 2
                centerY: 0
                centerRadius: Theme.glowRadius
                focalX: centerX
                focalY: centerY
                GradientStop { position: 0; color: Theme.glowInner }
                GradientStop { position: 1; color: Theme.glowOuter }
            }
            startX: 0; startY: 0
            PathLine { x: backdrop.width; y: 0 }
            PathLine { x: backdrop.width; y: backdrop.height }
            PathLine { x: 0; y: backdrop.height }
            PathLine { x: 0; y: 0 }
        }
    }
}
