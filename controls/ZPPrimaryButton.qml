// The filled call-to-action button.
//   text:      the title, shown verbatim
//   symbol:    symbol before the title ("" for none)
//   fullWidth: stretch to the width a layout offers (the content stays centred)
//   height:    set by the caller; enabled: false dims to 0.55 and ignores presses
//   clicked(): the action
import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import Zephrin.Controls

T.Button {
    id: control
    property string symbol: ""
    property bool fullWidth: false

    implicitWidth: contentItem.implicitWidth + leftPadding + rightPadding
    implicitHeight: 40
    Layout.fillWidth: fullWidth
    leftPadding: 16
    rightPadding: 16
    opacity: enabled ? 1 : 0.55
    focusPolicy: Qt.TabFocus
    Accessible.name: text

    contentItem: Item {
        implicitWidth: row.implicitWidth
        implicitHeight: row.implicitHeight
        Row {
            id: row
            anchors.centerIn: parent
            spacing: 8
            opacity: control.down ? 0.7 : 1
            ZPIcon {
                visible: control.symbol !== ""
                symbol: control.symbol
                size: 14
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

    background: Item {
        ZPShadow {
            color: Theme.accentGlow
            blur: 10
            cornerRadius: 12
        }
        Rectangle {
            anchors.fill: parent
            radius: 12
            gradient: Theme.accentGradient
        }
        ZPFocusRing {
            shown: control.activeFocus
            faceRadius: 12
        }
    }
}
