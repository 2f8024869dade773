// A row of quick colours: one 24-point circle per swatch, ringed in the
// accent tint. The current colour is not marked.
//   swatches: the colours, in order;  picked(color): a swatch was pressed
import QtQuick
import QtQuick.Templates as T
import Zephrin.Controls

Row {
    id: row
    property var swatches: []
    signal picked(color color)

    spacing: 8

    Repeater {
        model: row.swatches
        delegate: T.Button {
            required property var modelData
            required property int index
            objectName: "swatch:" + index
            implicitWidth: 24
            implicitHeight: 24
            focusPolicy: Qt.TabFocus
            Accessible.name: "Color " + (index + 1)
            onClicked: row.picked(modelData)
            background: Rectangle {
                radius: 12
                color: modelData
                border.color: Theme.accentTint
                border.width: 1
            }
        }
    }
}
