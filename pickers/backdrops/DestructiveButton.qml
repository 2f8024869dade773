// The button of an action that removes something: the failure red, quieter
// than the call-to-action gradient and never mistaken for it.
//   text: the title, shown verbatim;  clicked(): the action
import QtQuick
import QtQuick.Templates as T
import Zephrin.Controls

T.Button {
    id: control

    implicitWidth: label.implicitWidth + leftPadding + rightPadding
    implicitHeight: 36
    leftPadding: 14
    rightPadding: 14
    focusPolicy: Qt.TabFocus
    Accessible.name: text

    contentItem: Text {
        id: label
        text: control.text
        font: Theme.buttonFont
        color: Theme.textPrimary
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        opacity: control.down ? 0.7 : 1
    }
    background: Rectangle {
        radius: 8
        color: Theme.failure
    }
}
