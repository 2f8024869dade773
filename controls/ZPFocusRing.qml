// The keyboard focus drawn round a control: a 2-pt ring in the theme's focus
// colour, 3 pt outside the control's face and rounded with it. It goes in the
// control's background (or beside its face) and shows while the control has
// the active focus, so that no control takes a key without showing it.
//   shown:      whether it is drawn (the control's activeFocus)
//   faceRadius: the corner radius of the face it surrounds
import QtQuick
import Zephrin.Controls

Rectangle {
    property bool shown: false
    property real faceRadius: 0

    objectName: "focusRing"
    anchors.fill: parent
    anchors.margins: -3
    radius: faceRadius + 3
    color: Theme.transparent
    border.width: 2
    border.color: Theme.focusRing
    visible: shown
}
