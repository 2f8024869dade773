// The settings window: one instance, brought forward by the sidebar and the
// File menu. Escape and Ctrl+W close it. Where the desktop gives it no title
// bar (no window manager runs), it shows its title and a close button of its
// own.
import QtQuick
import QtQuick.Controls.Basic
import Zephrin.Controls
import Zephrin.Shell

ApplicationWindow {
    id: settingsWindow
    objectName: "settingsWindow"
    title: qsTr("Settings")
    width: 460 + 2 * 20
    height: Math.min(view.implicitHeight + 40 + (header.visible ? header.height : 0), 720)
    minimumWidth: width
    maximumWidth: width
    color: Theme.panel
    font: Theme.bodyFont

    // Asked again whenever the window manager may have framed the window.
    property bool hasTitleBar: false
    function checkFrame() { hasTitleBar = WindowFrame.hasTitleBar(settingsWindow) }
    // Closed, it hands the keys back to the main window (no window manager
    // would).
    onVisibleChanged: {
        checkFrame()
        if (!visible && transientParent)
            transientParent.requestActivate()
    }
    onActiveChanged: checkFrame()
    onXChanged: checkFrame()
    onYChanged: checkFrame()

    Shortcut {
        sequences: [StandardKey.Cancel, "Ctrl+W"]
        onActivated: settingsWindow.close()
    }

    header: Item {
        objectName: "settingsHeader"
        visible: !settingsWindow.hasTitleBar
        implicitHeight: 48
        Text {
            anchors.left: parent.left
            anchors.leftMargin: 20
            anchors.verticalCenter: parent.verticalCenter
            text: settingsWindow.title
            font: Theme.headlineFont
            color: Theme.textPrimary
        }
        ZPIconButton {
            objectName: "settingsClose"
            anchors.right: parent.right
            anchors.rightMargin: 12
            anchors.verticalCenter: parent.verticalCenter
            symbol: "xmark"
            label: "Close"
            size: 28
            onClicked: settingsWindow.close()
        }
        Rectangle {
            anchors.bottom: parent.bottom
            width: parent.width
            height: 1
            color: Theme.border
        }
    }

    // Without a frame of the desktop's, a line of its own marks its edge.
    Rectangle {
        parent: settingsWindow.contentItem.parent
        anchors.fill: parent
        visible: !settingsWindow.hasTitleBar
        z: 1
        color: Theme.transparent
        border.color: Theme.border
        border.width: 1
    }

    ScrollView {
        anchors.fill: parent
        anchors.margins: 20
        // A text with the focus keeps the keys from the shortcut, and hands
        // them on here when it has no use for them.
        Keys.onPressed: (event) => {
            if (event.matches(StandardKey.Cancel) || (event.key === Qt.Key_W && event.modifiers === Qt.ControlModifier)) {
                event.accepted = true
                settingsWindow.close()
            }
        }
        contentWidth: availableWidth
        SettingsView {
            id: view
            width: parent.width
        }
    }
}
