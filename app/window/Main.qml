// The main window: sidebar on the left; toolbar, workspace and status bar on
// the right; the presentations the editor asks for through its flags (export
// sheet, replace question), attached once here; and the notice of work that
// succeeded, over the bottom of the workspace and over any of those.
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Shell
import Zephrin.Canvas
import Zephrin.Inspector
import Zephrin.Pickers

ApplicationWindow {
    id: window
    objectName: "mainWindow"

    width: 1280
    height: 820
    // Small enough for a 1366 × 768 screen with a panel: the sidebar still
    // fits, and the inspector scrolls.
    minimumWidth: 1180
    minimumHeight: 600 + (menuBar ? menuBar.height : 0)
    visible: true
    title: Commands.documentName === "No image" ? "Zephrin" : Commands.documentName + " — Zephrin"
    color: Theme.background
    font: Theme.bodyFont
    palette {
        window: Theme.panel
        windowText: Theme.textPrimary
        base: Theme.control
        alternateBase: Theme.surface
        text: Theme.textPrimary
        button: Theme.surface
        buttonText: Theme.textPrimary
        brightText: Theme.textPrimary
        highlight: Theme.accent
        highlightedText: Theme.textPrimary
        toolTipBase: Theme.control
        toolTipText: Theme.textPrimary
        light: Theme.surface
        midlight: Theme.control
        mid: Theme.border
        dark: Theme.border
        shadow: Theme.background
        placeholderText: Theme.textTertiary
    }

    // The settings window, made when first asked for.
    readonly property var settingsWindow: settingsLoader.item

    function openSettings() {
        settingsLoader.active = true
        if (!settingsWindow.visible) {
            settingsWindow.x = window.x + Math.round((window.width - settingsWindow.width) / 2)
            settingsWindow.y = window.y + Math.round((window.height - settingsWindow.height) / 3)
        }
        settingsWindow.show()
        settingsWindow.raise()
        settingsWindow.requestActivate()
    }

    // Quitting, by the menu or by closing the window, asks first while a
    // sticker sheet or batch results exist only in memory.
    property bool quitConfirmed: false

    function quit() {
        if (!Commands.askToQuit())
            Qt.quit()
    }

    onClosing: (close) => {
        if (!quitConfirmed && Commands.askToQuit())
            close.accepted = false
    }

    Connections {
        target: Commands
        function onQuitConfirmed() {
            window.quitConfirmed = true
            Qt.quit()
        }
    }

    menuBar: AppMenuBar {
        onSettingsRequested: window.openSettings()
        onQuitRequested: window.quit()
    }

    WindowBackground {
        anchors.fill: parent
    }

    RowLayout {
        anchors.fill: parent
        spacing: 0

        Sidebar {
            id: sidebar
            Layout.preferredWidth: 184
            Layout.fillHeight: true
            onSettingsRequested: window.openSettings()
        }

        ColumnLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: 0

            TopToolbar {
                Layout.fillWidth: true
                Layout.preferredHeight: 64
            }

            RowLayout {
                id: workspace
                objectName: "workspace"
                Layout.fillWidth: true
                Layout.fillHeight: true
                Layout.margins: 16
                spacing: 16

                CanvasView {
                    id: canvasSlot
                    objectName: "canvasSlot"
                    visible: !Editor.batchMode
                    Layout.minimumWidth: 620
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                }
                InspectorView {
                    objectName: "inspectorSlot"
                    visible: !Editor.batchMode
                    showsFooterExport: true
                    Layout.preferredWidth: 310
                    Layout.fillHeight: true
                }
                BatchGridView {
                    id: batchGridSlot
                    objectName: "batchGridSlot"
                    visible: Editor.batchMode
                    Layout.minimumWidth: 620
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                }
                BatchPanelView {
                    objectName: "batchPanelSlot"
                    visible: Editor.batchMode
                    Layout.preferredWidth: 310
                    Layout.fillHeight: true
                }
            }

            StatusBar {
                id: statusBar
                Layout.fillWidth: true
                Layout.preferredHeight: 38
            }
        }
    }

    // Centred over the picture (or the batch's grid), above its zoom controls.
    // A popup of its own, stacked over every other, so that a notice arriving
    // while a question or a sheet dims the window is drawn above the dimming
    // and its buttons still answer; a click on it goes no further.
    Popup {
        objectName: "noticeLayer"
        readonly property Item stage: Editor.batchMode ? batchGridSlot : canvasSlot
        z: 1
        visible: toast.opacity > 0
        closePolicy: Popup.NoAutoClose
        padding: 0
        background: null
        x: sidebar.width + workspace.x + stage.x + (stage.width - width) / 2
        y: parent.height - height - statusBar.height - 16 - 64
        contentItem: NoticeToast { id: toast }
    }

    Presentations {
        anchors.fill: parent
    }

    Loader {
        id: settingsLoader
        active: false
        // Kept above the main window where a window manager stacks them.
        sourceComponent: SettingsWindow {
            palette: window.palette
            transientParent: window
        }
    }
}
