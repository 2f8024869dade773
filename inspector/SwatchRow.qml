// A row of colour swatches: 26-point circles outlined in the lilac stroke.
// None is marked as the current one.
//   colors: the swatches' colours, in order;  picked(color): one was clicked
import QtQuick
import QtQuick.Templates as T
import Zephrin.Controls

Row {
    id: row
    property var colors: []
    signal picked(color color)

    spacing: 8

    Repeater {
        model: row.colors
        delegate: T.Button {
            required property color modelData
            required property int index
            objectName: "swatch" + index
            width: 26
            height: 26
            focusPolicy: Qt.TabFocus
            Accessible.name: modelData.toString()
            onClicked: row.picked(modelData)
            background: Rectangle {
                radius: 13
                color: parent.modelData
                border.color: Theme.accentTint
                border.width: 1
            }
        }
    }
}
