// The context menu of a backdrop tile, in the theme's colours. Its entries
// are TileMenuItems.
import QtQuick
import QtQuick.Controls.Basic
import Zephrin.Controls

Menu {
    padding: 4
    background: Rectangle {
        implicitWidth: 220
        color: Theme.panel
        border.color: Theme.border
        radius: 8
    }
}
