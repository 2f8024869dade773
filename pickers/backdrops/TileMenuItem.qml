// An entry of a TileMenu; a destructive one is drawn in the pink accent.
import QtQuick
import QtQuick.Controls.Basic
import Zephrin.Controls

MenuItem {
    id: entry
    property bool destructive: false

    implicitHeight: 28
    contentItem: Text {
        leftPadding: 4
        text: entry.text
        font: Theme.bodyFont
        color: entry.destructive ? Theme.accentPink : Theme.textPrimary
        verticalAlignment: Text.AlignVCenter
    }
    background: Rectangle {
        color: entry.highlighted ? Theme.control : Theme.transparent
        radius: 6
    }
}
