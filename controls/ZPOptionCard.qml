// A selectable tile: a symbol above a short title. It never selects itself:
// the caller's action changes the model and passes the new `selected` back.
//   text, symbol, selected; clicked(): the action (also when already selected)
import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import Zephrin.Controls

T.Button {
    id: control
    property string symbol
    property bool selected: false

    implicitWidth: 80
    implicitHeight: 78
    Layout.fillWidth: true
    focusPolicy: Qt.TabFocus
    Accessible.name: text
    Accessible.checkable: true
    Accessible.checked: selected

    contentItem: Item {
        Column {
            anchors.centerIn: parent
            spacing: 8
            opacity: control.down ? 0.7 : 1
            ZPIcon {
                anchors.horizontalCenter: parent.horizontalCenter
                symbol: control.symbol
                size: 18
                color: control.selected ? Theme.textPrimary : Theme.textSecondary
            }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: control.text
                font: Theme.captionFont
                color: control.selected ? Theme.textPrimary : Theme.textSecondary
            }
        }
    }

    background: Rectangle {
        radius: 12
        color: control.selected ? Theme.control : Theme.surface
        border.color: control.selected ? Theme.accent : Theme.accentTintSoft
        border.width: control.selected ? 1.5 : 1
        ZPFocusRing {
            shown: control.activeFocus
            faceRadius: 12
        }
    }
}
