// The floating panel look: Theme.panel filling a rounded rectangle with a
// 1-pt Theme.accentTint outline and a drop shadow (blur 18, 12 down). Put it
// behind a column of controls as its background.
//   cornerRadius: the corner radius (16 for the inspector)
import QtQuick
import Zephrin.Controls

Item {
    property real cornerRadius: 16

    ZPShadow {
        color: Theme.shadow
        blur: 18
        offsetY: 12
        cornerRadius: parent.cornerRadius
    }
    Rectangle {
        anchors.fill: parent
        radius: parent.cornerRadius
        color: Theme.panel
        border.color: Theme.accentTint
        border.width: 1
    }
}
