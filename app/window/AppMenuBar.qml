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
    readonly property var focusItem: editMenu.visible ? editMenu.focusAtOpen
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

    BarMenu {
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

    BarMenu {
        id: editMenu
        objectName: "editMenu"
        title: qsTr("Edit")
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

    BarMenu {
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

    BarMenu {
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

    // The title whose menu is open, if any.
    readonly property MenuBarItem openTitle: {
        for (let i = 0; i < count; ++i) {
            const title = itemAt(i)
            if (title && title.menu && title.menu.visible)
                return title
        }
        return null
    }

    // A menu of the bar; it keeps the item that had the focus when it opened.
    // Escape is the bar's (below).
    component BarMenu: ZPMenu {
        property Item focusAtOpen: null
        closePolicy: Popup.CloseOnPressOutside
        onAboutToShow: focusAtOpen = bar.Window.window ? bar.Window.window.activeFocusItem : null
        onClosed: focusAtOpen = null
    }

    // Escape closes the open menu and leaves the bar: the titles the pointer
    // then passes only light up, and a click opens one. With the pointer over
    // the open menu's title, the menu closes as a click on that title closes
    // it, and the focus goes back to where the menu found it. (The menu's own
    // Escape would keep the bar in its open mode then: the next title the
    // pointer passes would open its menu, and the click on it close it again.)
    Shortcut {
        sequence: StandardKey.Cancel
        enabled: bar.openTitle !== null
        onActivated: {
            const title = bar.openTitle
            if (!title.hovered) {
                title.menu.dismiss()
                return
            }
            const focus = title.menu.focusAtOpen
            title.triggered()
            if (focus)
                focus.forceActiveFocus()
        }
    }

    // "Ctrl+=" zooms in too: on most keyboards "+" needs Shift.
    Shortcut {
        sequence: "Ctrl+="
        enabled: Commands.canZoom
        onActivated: Commands.zoomIn()
    }
}
