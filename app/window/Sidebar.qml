// The left column: the application's name, one row per inspector tool, the
// Batch row, and Settings at the bottom. Exactly one of the upper rows is
// selected: Batch while in batch mode, otherwise the current tool's row.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Shell

Rectangle {
    id: sidebar
    signal settingsRequested()

    color: Theme.sidebar

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        Text {
            text: qsTr("Zephrin")
            font: Theme.titleFont
            color: Theme.accentLight
            Layout.topMargin: 52
            Layout.leftMargin: 20
            Layout.bottomMargin: 24
        }

        ColumnLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 12
            Layout.rightMargin: 12
            spacing: 4

            Repeater {
                model: Commands.tools
                delegate: SidebarItem {
                    required property var modelData
                    objectName: "sidebar:" + modelData.tool
                    Layout.fillWidth: true
                    label: modelData.label
                    symbol: modelData.symbol
                    isSelected: !Editor.batchMode && Editor.tool === modelData.tool
                    onClicked: Commands.selectTool(modelData.tool)
                }
            }
            SidebarItem {
                objectName: "sidebar:batch"
                Layout.fillWidth: true
                label: "Batch"
                symbol: "square.grid.2x2"
                isSelected: Editor.batchMode
                onClicked: Commands.enterBatchMode()
            }
        }

        Item { Layout.fillHeight: true }

        SidebarItem {
            objectName: "sidebar:settings"
            Layout.fillWidth: true
            Layout.leftMargin: 12
            Layout.rightMargin: 12
            Layout.bottomMargin: 24
            label: qsTr("Settings")
            symbol: "gearshape"
            isSelected: false
            onClicked: sidebar.settingsRequested()
        }
    }
}
