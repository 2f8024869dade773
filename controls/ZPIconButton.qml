// A square button that shows only a symbol.
//   symbol: the symbol shown
//   label:  accessible name and tooltip
//   size:   side of the square
//   active: drawn as switched on (lilac symbol on a filled square)
//   enabled: false shows the symbol in the tertiary colour and ignores presses
//   clicked(): the action
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Templates as T
import Zephrin.Controls

T.Button {
    id: control
    property string symbol
    property string label
    property real size: 36
    property bool active: false

    implicitWidth: size
    implicitHeight: size
    focusPolicy: Qt.TabFocus
    hoverEnabled: true
    Accessible.name: label
    ToolTip.text: label
    ToolTip.visible: hovered && label !== ""
    ToolTip.delay: 600

    contentItem: ZPIcon {
        symbol: control.symbol
        size: 14
        opacity: control.down ? 0.7 : 1
        color: !control.enabled ? Theme.textTertiary : control.active ? Theme.accentLight : Theme.textPrimary
    }

    background: Rectangle {
        radius: 8
        color: control.active ? Theme.control : Theme.transparent
        ZPFocusRing {
            shown: control.activeFocus
            faceRadius: 8
        }
    }
}
