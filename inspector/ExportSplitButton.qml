// The export control: the main part opens the export sheet (or, with the
// sticker-sheet tool, exports the sheet); the chevron opens a menu of direct
// choices. Dimmed and inert while there is nothing to export.
//   height: set by the caller;  fullWidth: stretch in a layout
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Shell

Item {
    id: control
    property bool fullWidth: false
    readonly property bool sheetMode: Commands.sheetMode

    implicitWidth: main.implicitWidth + 1 + 34
    implicitHeight: 36
    Layout.fillWidth: fullWidth
    enabled: Commands.exportButtonEnabled
    opacity: enabled ? 1 : 0.55

    ZPShadow {
        color: Theme.accentGlow
        blur: 10
        cornerRadius: 12
    }
    Rectangle {
        anchors.fill: parent
        radius: 12
        gradient: Theme.accentGradient
    }

    T.Button {
        id: main
        objectName: "exportMain"
        anchors.left: parent.left
        anchors.right: divider.left
        height: control.height
        implicitWidth: mainRow.implicitWidth + 32
        Accessible.name: label.text
        onClicked: Commands.exportButtonPressed()
        contentItem: Item {
            Row {
                id: mainRow
                anchors.centerIn: parent
                spacing: 8
                opacity: main.down ? 0.7 : 1
                ZPIcon {
                    anchors.verticalCenter: parent.verticalCenter
                    symbol: control.sheetMode ? "printer" : "square.and.arrow.up"
                    size: 14
                }
                Text {
                    id: label
                    objectName: "exportLabel"
                    anchors.verticalCenter: parent.verticalCenter
                    text: control.sheetMode ? "Export Sheet" : "Export"
                    font: Theme.buttonFont
                    color: Theme.textPrimary
                }
            }
        }
        background: null
    }

    Rectangle {
        id: divider
        anchors.right: more.left
        anchors.verticalCenter: parent.verticalCenter
        width: 1
        height: control.height - 12
        color: Theme.splitDivider
    }

    T.Button {
        id: more
        objectName: "exportMore"
        anchors.right: parent.right
        width: 34
        height: control.height
        Accessible.name: qsTr("Export options")
        onClicked: control.sheetMode ? sheetMenu.open() : formatMenu.open()
        contentItem: ZPIcon { symbol: "chevron.down"; size: 11 }
        background: null

        Menu {
            id: formatMenu
            objectName: "exportFormatMenu"
            y: more.height
            Instantiator {
                model: Commands.exportFormats
                delegate: MenuEntry {
                    required property string modelData
                    objectName: "exportAs:" + modelData
                    text: "Export as " + modelData + "…"
                    onTriggered: Commands.exportAs(modelData)
                }
                onObjectAdded: (index, item) => formatMenu.insertItem(index, item)
                onObjectRemoved: (index, item) => formatMenu.removeItem(item)
            }
            MenuSeparator {}
            MenuEntry {
                objectName: "shareEntry"
                text: "Share…"
                onTriggered: Commands.share()
            }
        }
        Menu {
            id: sheetMenu
            objectName: "exportSheetMenu"
            y: more.height
            MenuEntry {
                text: "Export Sheet PNG…"
                onTriggered: Commands.exportSheetPNG()
            }
            MenuEntry {
                text: "Export Cut Lines SVG…"
                onTriggered: Commands.exportSheetCutSVG()
            }
        }
    }
}
