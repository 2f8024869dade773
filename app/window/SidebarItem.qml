// One sidebar row: a symbol and a label; the selected row has the selection
// gradient and an accent bar at its leading edge. The whole row is the target.
//   label, symbol, isSelected; clicked()
import QtQuick
import QtQuick.Templates as T
import Zephrin.Controls

T.AbstractButton {
    id: row
    property string label
    property string symbol
    property bool isSelected: false

    implicitHeight: 44
    implicitWidth: 160
    focusPolicy: Qt.TabFocus
    Accessible.role: Accessible.PageTab
    Accessible.name: label
    Accessible.selected: isSelected

    readonly property color foreground: isSelected ? Theme.textPrimary : Theme.textSecondary

    background: Item {
        Rectangle {
            anchors.fill: parent
            visible: row.isSelected
            radius: 12
            gradient: Theme.selectionGradient
        }
        Rectangle {
            objectName: "indicator"
            visible: row.isSelected
            x: -1
            anchors.verticalCenter: parent.verticalCenter
            width: 3
            height: 22
            radius: 2
            color: Theme.accent
        }
    }

    contentItem: Row {
        leftPadding: 12
        spacing: 12
        opacity: row.down ? 0.7 : 1
        ZPIcon {
            width: 22
            anchors.verticalCenter: parent.verticalCenter
            symbol: row.symbol
            size: 15
            color: row.foreground
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: row.label
            font: Theme.sidebarFont
            color: row.foreground
        }
    }
}
