// A caption and a colour well. The well shows the colour with its opacity
// over the checkerboard and opens the colour dialog, which offers no opacity:
// a picked colour is opaque.
//   label, color;  picked(color): the caller writes the model
import QtQuick
import QtQuick.Dialogs
import QtQuick.Layouts
import QtQuick.Templates as T
import Zephrin.Controls

RowLayout {
    id: row
    property string label
    property color color
    signal picked(color color)

    Text {
        text: row.label
        font: Theme.headlineFont
        color: Theme.textPrimary
    }
    Item { Layout.fillWidth: true }
    T.Button {
        id: well
        objectName: "well"
        implicitWidth: 44
        implicitHeight: 24
        focusPolicy: Qt.TabFocus
        Accessible.name: row.label
        onClicked: {
            dialog.selectedColor = row.color
            dialog.open()
        }
        background: Item {
            CheckerboardView {
                anchors.fill: parent
                anchors.margins: 2
                cell: 5
            }
            Rectangle {
                objectName: "swatch"
                anchors.fill: parent
                radius: 6
                color: row.color
                border.color: Theme.border
                border.width: 2
            }
            ZPFocusRing {
                shown: well.activeFocus
                faceRadius: 6
            }
        }
    }
    ColorDialog {
        id: dialog
        title: row.label
        onAccepted: row.picked(selectedColor)
    }
}
