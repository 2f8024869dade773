// The "info.circle" symbol after a section heading; its help text shows as
// a tooltip while the pointer rests on it.
//   help: the help text
import QtQuick
import QtQuick.Controls.Basic
import Zephrin.Controls

ZPIcon {
    id: info
    property string help

    symbol: "info.circle"
    size: 12
    color: Theme.textTertiary
    Accessible.ignored: false
    Accessible.name: help

    HoverHandler { id: hover }
    ToolTip.text: help
    ToolTip.visible: hover.hovered && help !== ""
    ToolTip.delay: 400
}
