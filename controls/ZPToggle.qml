// A switch with an optional "On"/"Off" caption before it. The caption keeps a
// 24-pt width either way, so the switch never moves.
//   on: the switched value;  showsLabel: show the caption
//   toggled(on): as ZPSwitch
import QtQuick
import Zephrin.Controls

Row {
    id: toggle
    property bool on: false
    property bool showsLabel: true
    signal toggled(bool on)

    spacing: 8

    Text {
        objectName: "caption"
        visible: toggle.showsLabel
        width: 24
        anchors.verticalCenter: parent.verticalCenter
        horizontalAlignment: Text.AlignRight
        text: toggle.on ? qsTr("On") : qsTr("Off")
        font: Theme.captionFont
        color: toggle.on ? Theme.accentLight : Theme.textTertiary
    }
    ZPSwitch {
        objectName: "switch"
        anchors.verticalCenter: parent.verticalCenter
        on: toggle.on
        onToggled: (value) => toggle.toggled(value)
    }
}
