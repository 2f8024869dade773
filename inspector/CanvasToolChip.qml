// The chip that picks a canvas tool: its symbol over its title, selected
// while the editor's canvas tool is this one. Tapping it chooses the tool
// (written only when it changes) and drops a stroke or outline in progress.
//   tool: the tool's label ("Erase", "Pick color");  chosen(): after a tap
import QtQuick
import QtQuick.Controls.Basic
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

    objectName: "tool:" + tool
    Layout.fillWidth: true
    Layout.preferredWidth: 1
    implicitHeight: 50
    focusPolicy: Qt.TabFocus
    hoverEnabled: true
    Accessible.name: RefineText.toolTitle(tool)
    Accessible.checkable: true
    Accessible.checked: isSelected
    ToolTip.text: RefineText.toolTitle(tool)
    ToolTip.visible: hovered
    ToolTip.delay: 600

    onClicked: {
        if (Editor.canvasTool !== tool)
            Editor.canvasTool = tool
        Editor.liveStroke = []
        chip.chosen()
    }

    contentItem: Item {
        Column {
            anchors.centerIn: parent
            spacing: 3
            opacity: chip.down ? 0.7 : 1
            ZPIcon {
                anchors.horizontalCenter: parent.horizontalCenter
                symbol: RefineText.toolSymbol(chip.tool)
                size: 15
                color: chip.isSelected ? Theme.textPrimary : Theme.textSecondary
            }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: RefineText.toolTitle(chip.tool)
                font: Theme.systemFont(10, Font.Medium)
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
