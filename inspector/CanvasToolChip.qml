// A canvas tool as a chip: its symbol over its title, lit while it is the
// canvas tool. Fills its share of a row; 50 points high.
//   tool: the canvas tool's label ("Paint");  chosen(): the chip was pressed
import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import Zephrin.Controls
import Zephrin.Inspector
import Zephrin.Model

T.Button {
    id: chip
    property string tool
    readonly property bool isSelected: Editor.canvasTool === tool
    signal chosen()

    objectName: "toolChip:" + tool
    Layout.fillWidth: true
    Layout.preferredWidth: 1
    implicitHeight: 50
    focusPolicy: Qt.TabFocus
    Accessible.name: PanelRules.canvasToolTitle(tool)
    Accessible.checkable: true
    Accessible.checked: isSelected
    onClicked: chip.chosen()

    contentItem: Item {
        Column {
            anchors.centerIn: parent
            spacing: 3
            opacity: chip.down ? 0.7 : 1
            ZPIcon {
                anchors.horizontalCenter: parent.horizontalCenter
                symbol: PanelRules.canvasToolSymbol(chip.tool)
                size: 15
                color: chip.isSelected ? Theme.textPrimary : Theme.textSecondary
            }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: PanelRules.canvasToolTitle(chip.tool)
                font: Theme.chipFont
                color: chip.isSelected ? Theme.textPrimary : Theme.textSecondary
            }
        }
    }
    background: Rectangle {
        radius: 8
        color: chip.isSelected ? Theme.control : Theme.surface
        border.color: chip.isSelected ? Theme.accent : Theme.accentTintSoft
        border.width: chip.isSelected ? 1.5 : 1
    }
}
