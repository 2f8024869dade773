// The menus: File (import, export, clear, settings, quit), Edit (the text
// commands and "Copy Result"), Cutout and View. Every item takes its enabled
// state and its action from Commands.
import QtQuick
import QtQuick.Controls.Basic
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Shell

MenuBar {
    id: bar
    signal settingsRequested()
    signal quitRequested()

    // The item the text commands act on. Opening the Edit menu takes the
    // focus into it, so an item chosen with the mouse acts on the item that
    // had the focus when the menu opened; a shortcut finds the focus in place.
    property Item focusAtOpen: null
    readonly property var focusItem: editMenu.visible ? focusAtOpen
                                                      : (Window.window ? Window.window.activeFocusItem : null)

    delegate: MenuBarItem {
        id: barItem
        // A menu with nothing to offer (View in batch mode) cannot be opened.
        enabled: !menu || menu.enabled
        contentItem: Text {
            text: barItem.text
            font: Theme.bodyFont
            color: Theme.textPrimary
            opacity: barItem.enabled ? 1 : 0.45
        }
        background: Rectangle {
            color: barItem.highlighted ? Theme.control : Theme.transparent
            radius: 6
        }
    }
    background: Rectangle {
        color: Theme.sidebar
        Rectangle {
            anchors.bottom: parent.bottom
            width: parent.width
            height: 1
            color: Theme.border
        }
    }

    ZPMenu {
        objectName: "fileMenu"
        title: qsTr("File")
        MenuEntry {
            action: Action {
                objectName: "importImage"
                text: "Import Image…"
                shortcut: "Ctrl+O"
                onTriggered: Commands.importDocument()
            }
        }
        MenuEntry {
            action: Action {
                objectName: "export"
                text: "Export…"
                shortcut: "Ctrl+E"
                enabled: Commands.canExport
                onTriggered: Commands.openExportSheet()
            }
        }
        MenuEntry {
            action: Action {
                objectName: "share"
                text: "Share…"
                enabled: Commands.canExport
                onTriggered: Commands.share()
            }
        }
        MenuSeparator {}
        MenuEntry {
            action: Action {
                objectName: "clearImage"
                text: "Clear Image"
                shortcut: "Ctrl+W"
                enabled: Commands.canClear
                onTriggered: Commands.clearImage()
            }
        }
        MenuSeparator {}
        MenuEntry {
            action: Action {
                text: qsTr("Settings…")
                shortcut: "Ctrl+,"
                onTriggered: bar.settingsRequested()
            }
        }
        MenuSeparator {}
        MenuEntry {
            action: Action {
                text: qsTr("Quit")
                shortcut: "Ctrl+Q"
                onTriggered: bar.quitRequested()
            }
        }
    }

    ZPMenu {
        id: editMenu
        objectName: "editMenu"
        title: qsTr("Edit")
        onAboutToShow: bar.focusAtOpen = bar.Window.window ? bar.Window.window.activeFocusItem : null
        onClosed: bar.focusAtOpen = null
        MenuEntry {
            action: Action {
                objectName: "cut"
                text: "Cut"
                shortcut: "Ctrl+X"
                onTriggered: Commands.sendToFocus(bar.focusItem, "cut")
            }
        }
        MenuEntry {
            action: Action {
                objectName: "copy"
                text: "Copy"
                shortcut: "Ctrl+C"
                onTriggered: Commands.copy(bar.focusItem)
            }
        }
        MenuEntry {
            action: Action {
                objectName: "paste"
                text: "Paste"
                shortcut: "Ctrl+V"
                onTriggered: Commands.sendToFocus(bar.focusItem, "paste")
            }
        }
        MenuEntry {
            action: Action {
                objectName: "selectAll"
                text: "Select All"
                shortcut: "Ctrl+A"
                onTriggered: Commands.sendToFocus(bar.focusItem, "selectAll")
            }
        }
        MenuSeparator {}
        MenuEntry {
            action: Action {
                objectName: "copyResult"
                text: "Copy Result"
                enabled: Commands.canCopyResult
                onTriggered: Commands.copyResult()
            }
        }
    }

    ZPMenu {
        objectName: "cutoutMenu"
        title: "Cutout"
        MenuEntry {
            action: Action {
                objectName: "runCutout"
                text: "Run Cutout"
                shortcut: "Ctrl+Shift+A"
                enabled: Commands.canRunCutout
                onTriggered: Commands.runCutout()
            }
        }
        MenuEntry {
            action: Action {
                objectName: "resetToPlainCutout"
                text: "Reset to Plain Cutout"
                shortcut: "Ctrl+Shift+R"
                enabled: Commands.canReset
                onTriggered: Commands.resetToPlainCutout()
            }
        }
        MenuSeparator {}
        MenuEntry {
            action: Action {
                objectName: "undo"
                text: "Undo Edit"
                shortcut: "Ctrl+Z"
                enabled: Commands.canUndo
                onTriggered: Commands.undo()
            }
        }
        MenuEntry {
            action: Action {
                objectName: "redo"
                text: "Redo"
                shortcut: "Ctrl+Shift+Z"
                enabled: Commands.canRedo
                onTriggered: Commands.redo()
            }
        }
    }

    ZPMenu {
        objectName: "viewMenu"
        title: "View"
        enabled: Commands.canZoom || Commands.canCompare
        MenuEntry {
            action: Action {
                objectName: "zoomIn"
                enabled: Commands.canZoom
                text: "Zoom In"
                shortcut: "Ctrl++"
                onTriggered: Commands.zoomIn()
            }
        }
        MenuEntry {
            action: Action {
                objectName: "zoomOut"
                enabled: Commands.canZoom
                text: "Zoom Out"
                shortcut: "Ctrl+-"
                onTriggered: Commands.zoomOut()
            }
        }
        MenuEntry {
            action: Action {
                objectName: "actualSize"
                enabled: Commands.canZoom
                text: "Actual Size"
                shortcut: "Ctrl+1"
                onTriggered: Commands.zoomToFit()
            }
        }
        MenuEntry {
            action: Action {
                objectName: "zoomToFit"
                enabled: Commands.canZoom
                text: "Zoom to Fit"
                shortcut: "Ctrl+0"
                onTriggered: Commands.zoomToFit()
            }
        }
        MenuSeparator {}
        MenuEntry {
            action: Action {
                objectName: "toggleCompare"
                text: Commands.compareTitle
                shortcut: "Ctrl+\\"
                enabled: Commands.canCompare
                onTriggered: Commands.toggleCompare()
            }
        }
    }

    // "Ctrl+=" zooms in too: on most keyboards "+" needs Shift.
    Shortcut {
        sequence: "Ctrl+="
        enabled: Commands.canZoom
        onActivated: Commands.zoomIn()
    }
}
