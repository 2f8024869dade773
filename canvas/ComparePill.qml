// A label of the compare view: small text on a dark capsule.
//   text: the label
import QtQuick
import Zephrin.Controls

Rectangle {
    property alias text: label.text
    implicitWidth: label.implicitWidth + 20
    implicitHeight: label.implicitHeight + 10
    radius: height / 2
    color: Theme.pillBackground
    Text {
        id: label
        anchors.centerIn: parent
        font: Theme.captionFont
        color: Theme.textPrimary
    }
}
