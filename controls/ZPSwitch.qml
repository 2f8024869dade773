// The application's switch face: a 38 × 22 capsule with an 18-pt knob that
// slides in 0.15 s. It shows `on` and asks for the opposite.
//   on: the switched value (bound to the model; never written here)
//   toggled(on): pressed; carries the value asked for
import QtQuick
import QtQuick.Templates as T
import Zephrin.Controls

T.AbstractButton {
    id: control
    property bool on: false
    signal toggled(bool on)

    implicitWidth: 38
    implicitHeight: 22
    focusPolicy: Qt.TabFocus
    Accessible.role: Accessible.CheckBox
    Accessible.checkable: true
    Accessible.checked: on
    Accessible.description: on ? qsTr("On") : qsTr("Off")
    onClicked: toggled(!on)

    background: Rectangle {
        radius: height / 2
        color: control.on ? Theme.accent : Theme.border
        Behavior on color { ColorAnimation { duration: 150; easing.type: Easing.InOutQuad } }
        ZPFocusRing {
            shown: control.activeFocus
            faceRadius: parent.radius
        }
    }
    contentItem: Item {
        Item {
            id: knob
            objectName: "knob"
            width: 18
            height: 18
            y: 2
            x: control.on ? control.width - width - 2 : 2
            Behavior on x { NumberAnimation { duration: 150; easing.type: Easing.InOutQuad } }
            ZPShadow {
                color: Theme.knobShadow
                blur: 2
                offsetY: 1
                cornerRadius: 9
            }
            Rectangle {
                anchors.fill: parent
                radius: 9
                color: Theme.textPrimary
            }
        }
    }
}
