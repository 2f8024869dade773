// The bar across the top of the main column: import, undo and redo, copy,
// reset and clear; the zoom steps with the current percentage; the compare
// switch; and the export button.
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Shell
import Zephrin.Inspector

Rectangle {
    id: toolbar
    color: Theme.panel

    Rectangle {
        anchors.bottom: parent.bottom
        width: parent.width
        height: 1
        color: Theme.border
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 24
        anchors.rightMargin: 24
        spacing: 12

        // Import cluster: the button and a menu of the two ways in.
        Rectangle {
            implicitWidth: importRow.implicitWidth
            implicitHeight: 36
            radius: 8
            color: Theme.surface
            border.color: Theme.accentTintSoft
            border.width: 1
            Row {
                id: importRow
                ZPSecondaryButton {
                    objectName: "importButton"
                    text: "Import"
                    symbol: "square.and.arrow.down"
                    height: 36
                    background: null
                    onClicked: Commands.importDocument()
                }
                T.Button {
                    id: importMore
                    objectName: "importMenuButton"
                    width: 28
                    height: 36
                    Accessible.name: qsTr("More ways to import")
                    onClicked: importMenu.open()
                    contentItem: ZPIcon { symbol: "chevron.down"; size: 11 }
                    background: null
                    Menu {
                        id: importMenu
                        objectName: "importMenu"
                        y: importMore.height
                        MenuEntry {
                            objectName: "importImage"
                            text: "Import Image…"
                            onTriggered: Commands.importDocument()
                        }
                        MenuEntry {
                            objectName: "importMultiple"
                            text: "Import Multiple…"
                            onTriggered: Commands.importMultiple()
                        }
                    }
                }
            }
        }

        ZPIconButton {
            objectName: "undoButton"
            symbol: "arrow.uturn.backward"
            label: "Undo last edit"
            enabled: Commands.canUndo
            onClicked: Commands.undo()
        }
        ZPIconButton {
            objectName: "redoButton"
            symbol: "arrow.uturn.forward"
            label: "Redo"
            enabled: Commands.canRedo
            onClicked: Commands.redo()
        }
        Rectangle {
            implicitWidth: 1
            implicitHeight: 22
            color: Theme.border
        }
        ZPIconButton {
            objectName: "copyButton"
            symbol: "doc.on.doc"
            label: "Copy result as PNG (Ctrl+C)"
            enabled: Commands.canCopyResult
            onClicked: Commands.copyResult()
        }
        ZPIconButton {
            objectName: "resetButton"
            symbol: "arrow.counterclockwise"
            label: "Reset to plain cutout"
            enabled: Commands.canReset
            onClicked: Commands.resetToPlainCutout()
        }
        ZPIconButton {
            objectName: "clearButton"
            symbol: "xmark.circle"
            label: "Clear image"
            enabled: Commands.canClear
            onClicked: Commands.clearImage()
        }

        Item { Layout.fillWidth: true }

        // Zoom cluster. The zoom, compare and export controls act on the
        // canvas, so the batch's workspace shows none of them.
        Rectangle {
            objectName: "zoomCluster"
            visible: !Editor.batchMode
            implicitWidth: zoomRow.implicitWidth + 8
            implicitHeight: 36
            radius: 8
            color: Theme.surface
            border.color: Theme.accentTintSoft
            border.width: 1
            Row {
                id: zoomRow
                anchors.centerIn: parent
                ZPIconButton {
                    objectName: "zoomOutButton"
                    symbol: "minus"
                    label: "Zoom out"
                    onClicked: Commands.zoomOut()
                }
                Text {
                    objectName: "zoomLabel"
                    width: 56
                    height: 36
                    text: Editor.zoomLabel
                    font: Theme.buttonFont
                    color: Theme.textPrimary
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                }
                ZPIconButton {
                    objectName: "zoomInButton"
                    symbol: "plus"
                    label: "Zoom in"
                    onClicked: Commands.zoomIn()
                }
            }
        }

        // Compare switch.
        T.Button {
            id: compare
            objectName: "compareButton"
            visible: !Editor.batchMode
            implicitWidth: compareRow.implicitWidth + 24
            implicitHeight: 36
            enabled: Commands.canCompare
            opacity: enabled ? 1 : 0.5
            Accessible.name: "Compare"
            Accessible.checkable: true
            Accessible.checked: Editor.compareEnabled
            onClicked: Commands.toggleCompare()
            readonly property color foreground: Editor.compareEnabled ? Theme.accentLight : Theme.textPrimary
            contentItem: Item {
                Row {
                    id: compareRow
                    anchors.centerIn: parent
                    spacing: 8
                    ZPIcon {
                        anchors.verticalCenter: parent.verticalCenter
                        symbol: "rectangle.split.2x1"
                        size: 13
                        color: compare.foreground
                    }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: "Compare"
                        font: Theme.buttonFont
                        color: compare.foreground
                    }
                }
            }
            background: Rectangle {
                radius: 8
                color: Editor.compareEnabled ? Theme.control : Theme.surface
                border.color: Editor.compareEnabled ? Theme.accent : Theme.accentTintSoft
                border.width: 1
            }
        }

        Item { Layout.fillWidth: true }

        ExportSplitButton {
            objectName: "exportButton"
            visible: !Editor.batchMode
            height: 36
        }
    }
}
