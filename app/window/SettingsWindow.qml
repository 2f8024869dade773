// The settings window: one instance, brought forward by the sidebar and the
// File menu.
import QtQuick
import QtQuick.Controls.Basic
import Zephrin.Controls

ApplicationWindow {
    id: settingsWindow
    objectName: "settingsWindow"
    title: qsTr("Settings")
    width: 460 + 2 * 20
    height: Math.min(view.implicitHeight + 40, 720)
    minimumWidth: width
    maximumWidth: width
    color: Theme.panel
    font: Theme.bodyFont

    ScrollView {
        anchors.fill: parent
        anchors.margins: 20
        contentWidth: availableWidth
        SettingsView {
            id: view
            width: parent.width
        }
    }
}
