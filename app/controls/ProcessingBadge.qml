// The floating pill with a spinner and a short status text.
//   label: the status text, shown verbatim
import QtQuick
import QtQuick.Shapes
import Zephrin.Controls

Item {
    id: badge
    property string label

    implicitWidth: row.implicitWidth + 24
    implicitHeight: row.implicitHeight + 16
    Accessible.role: Accessible.StatusBar
    Accessible.name: label

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: Theme.badgeBackground
        border.color: Theme.accentTint
        border.width: 1
    }
    Row {
        id: row
        anchors.centerIn: parent
        spacing: 8
        Item {
            id: spinner
            width: 14
            height: 14
            anchors.verticalCenter: parent.verticalCenter
            Shape {
                anchors.fill: parent
                RotationAnimator on rotation {
                    from: 0; to: 360; duration: 900
                    loops: Animation.Infinite
                    running: badge.visible
                }
                ShapePath {
                    strokeColor: Theme.accentLight
                    strokeWidth: 2
                    fillColor: Theme.transparent
                    capStyle: ShapePath.RoundCap
                    PathAngleArc {
                        centerX: 7; centerY: 7
                        radiusX: 6; radiusY: 6
                        startAngle: 0
                        sweepAngle: 270
                    }
                }
            }
        }
        Text {
            text: badge.label
            font: Theme.captionFont
            color: Theme.textPrimary
            anchors.verticalCenter: parent.verticalCenter
        }
    }
}
