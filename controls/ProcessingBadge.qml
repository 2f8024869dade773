// The floating pill with a spinner and a short status text.
//   label: the status text, shown verbatim
import QtQuick
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
        ZPSpinner {
            size: 14
            running: badge.visible
            anchors.verticalCenter: parent.verticalCenter
        }
        Text {
            text: badge.label
            font: Theme.captionFont
            color: Theme.textPrimary
            anchors.verticalCenter: parent.verticalCenter
        }
    }
}
