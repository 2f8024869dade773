// Turns the colour picker on and off: while it is on, a click on the image
// adds the colour under the pointer to the picks and the tool returns to
// Select.
import QtQuick
import QtQuick.Templates as T
import Zephrin.Controls
import Zephrin.Model

T.Button {
    id: button
    readonly property bool active: Editor.canvasTool === "Pick color"

    objectName: "pickColor"
    implicitWidth: row.implicitWidth + 20
    implicitHeight: 28
    focusPolicy: Qt.TabFocus
    Accessible.name: label.text
    onClicked: {
        const next = active ? "Select" : "Pick color"
        if (Editor.canvasTool !== next)
            Editor.canvasTool = next
    }

    contentItem: Item {
        Row {
            id: row
            anchors.centerIn: parent
            spacing: 6
            opacity: button.down ? 0.7 : 1
            ZPIcon {
                anchors.verticalCenter: parent.verticalCenter
                symbol: "eyedropper"
                size: 11
                color: label.color
            }
            Text {
                id: label
                objectName: "pickColorLabel"
                anchors.verticalCenter: parent.verticalCenter
                text: button.active ? "Click a color on the image…" : "Pick from image"
                font: Theme.captionFont
                color: button.active ? Theme.textPrimary : Theme.accentLight
            }
        }
    }
    background: Rectangle {
        radius: 6
        color: button.active ? Theme.control : Theme.surface
    }
}
