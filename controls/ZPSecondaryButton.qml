// The outlined, quieter button.
//   text:   the title, shown verbatim
//   symbol: symbol before the title ("" for none)
//   height: set by the caller; the width follows the content
//   clicked(): the action
import QtQuick
import QtQuick.Templates as T
import Zephrin.Controls

T.Button {
    id: control
    property string symbol: ""

    implicitWidth: row.implicitWidth + leftPadding + rightPadding
    implicitHeight: 36
    leftPadding: 12
    rightPadding: 12
    focusPolicy: Qt.TabFocus
    Accessible.name: text

    contentItem: Item {
        Row {
            id: row
            anchors.centerIn: parent
            spacing: 8
            opacity: control.down ? 0.7 : 1
            ZPIcon {
                visible: control.symbol !== ""
                symbol: control.symbol
                size: 13
                anchors.verticalCenter: parent.verticalCenter
            }
            Text {
                text: control.text
                font: Theme.buttonFont
                color: Theme.textPrimary
                anchors.verticalCenter: parent.verticalCenter
            }
        }
    }

    background: Rectangle {
        radius: 8
        color: Theme.surface
        border.color: Theme.accentTintSoft
        border.width: 1
        ZPFocusRing {
            shown: control.activeFocus
            faceRadius: 8
        }
    }
}
