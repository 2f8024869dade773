// Stand-in for the batch grid (module Zephrin.Pickers, type BatchGridView)
// until it arrives.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls

Rectangle {
    radius: 16
    color: Theme.panel
    border.color: Theme.accentTint
    border.width: 1

    ColumnLayout {
        anchors.centerIn: parent
        spacing: 12
        ZPIcon {
            Layout.alignment: Qt.AlignHCenter
            symbol: "square.grid.2x2"
            size: 40
            color: Theme.textTertiary
        }
        Text {
            Layout.alignment: Qt.AlignHCenter
            text: "Batch"
            font: Theme.headlineFont
            color: Theme.textSecondary
        }
    }
}
