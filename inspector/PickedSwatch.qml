// One picked colour: its swatch and a button that takes it off the list.
//   swatchColor;  remove(): the button was pressed
import QtQuick
import QtQuick.Templates as T
import Zephrin.Controls

Rectangle {
    id: swatch
    property color swatchColor
    signal remove()

    implicitWidth: row.implicitWidth + 8
    implicitHeight: row.implicitHeight + 8
    radius: 7
    color: Theme.surface

    Row {
        id: row
        x: 4
        y: 4
        spacing: 4
        Rectangle {
            width: 26
            height: 22
            radius: 5
            color: swatch.swatchColor
            border.color: Theme.accentTint
            border.width: 1
        }
        T.Button {
            objectName: "removePick"
            anchors.verticalCenter: parent.verticalCenter
            implicitWidth: 14
            implicitHeight: 22
            focusPolicy: Qt.TabFocus
            Accessible.name: "Remove"
            onClicked: swatch.remove()
            contentItem: ZPIcon {
                symbol: "xmark"
                size: 9
                font.weight: Font.Bold
                color: Theme.textSecondary
            }
            background: null
        }
    }
}
