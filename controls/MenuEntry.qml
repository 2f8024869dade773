// A menu item that shows its key next to its title ("Ctrl+O").
//   hint: the key text; empty for none
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Zephrin.Controls

MenuItem {
    id: entry
    property string hint: action && action.shortcut ? String(action.shortcut) : ""

    // Wide enough for the title and the key side by side.
    implicitWidth: Math.max(260, leftPadding + contentItem.implicitWidth + rightPadding)
    contentItem: RowLayout {
        spacing: 24
        opacity: entry.enabled ? 1 : 0.45
        Text {
            text: entry.text
            font: Theme.bodyFont
            color: Theme.textPrimary
            Layout.fillWidth: true
        }
        Text {
            text: entry.hint
            font: Theme.bodyFont
            color: Theme.textTertiary
        }
    }
    background: Rectangle {
        color: entry.highlighted ? Theme.control : Theme.transparent
        radius: 6
    }
}
