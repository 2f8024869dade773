// The text panel's square toggle (bold, italic).
//   symbol: the symbol shown;  on: drawn as selected;  clicked(): the action
import QtQuick
import QtQuick.Templates as T
import Zephrin.Controls

T.Button {
    id: toggle
    property string symbol
    property bool on: false

    objectName: "toggle:" + symbol
    implicitWidth: 36
    implicitHeight: 30
    focusPolicy: Qt.TabFocus
    Accessible.name: symbol
    Accessible.checkable: true
    Accessible.checked: on

    contentItem: ZPIcon {
        symbol: toggle.symbol
        size: 14
        font.bold: true
        color: toggle.on ? Theme.textPrimary : Theme.textSecondary
        opacity: toggle.down ? 0.7 : 1
    }
    background: Rectangle {
        radius: 8
        color: Theme.surface
        gradient: toggle.on ? Theme.accentGradient : null
    }
}
