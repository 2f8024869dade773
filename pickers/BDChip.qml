// The rounded toggle chip of the pickers' tab, category, filter and option
// rows. It keeps no state: the caller says whether it is on and acts on a click.
//   title:  the text, shown verbatim;  on: drawn as selected
//   height: set by the caller (28 in option rows);  clicked(): the action
import QtQuick
import QtQuick.Templates as T
import Zephrin.Controls

T.Button {
    id: chip
    property string title
    property bool on: false

    objectName: "chip:" + title
    text: title
    implicitWidth: label.implicitWidth + leftPadding + rightPadding
    implicitHeight: 28
    leftPadding: 6
    rightPadding: 6
    focusPolicy: Qt.TabFocus
    Accessible.name: title
    Accessible.checkable: true
    Accessible.checked: on

    contentItem: Text {
        id: label
        text: chip.title
        font: Theme.captionFont
        color: chip.on ? Theme.textPrimary : Theme.textSecondary
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        // The caption size is the smallest text: too long for the chip, it
        // is truncated.
        elide: Text.ElideRight
        maximumLineCount: 1
        opacity: chip.down ? 0.7 : 1
    }
    background: Rectangle {
        radius: 8
        color: Theme.surface
        gradient: chip.on ? Theme.accentGradient : null
        border.color: chip.on ? Theme.transparent : Theme.accentTintSoft
        border.width: 1
    }
}
