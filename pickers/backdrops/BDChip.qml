// The toggle chip of the pickers' tabs, categories, filters and options. It
// keeps no state: the caller says whether it is on and acts on clicked().
//   text:   the title, shown verbatim on one line (shrinks to 70 %, then elides)
//   on:     drawn as selected
//   height: set by every caller (34 for the picker's tabs, 28 elsewhere)
import QtQuick
import QtQuick.Templates as T
import Zephrin.Controls

T.Button {
    id: chip
    property bool on: false

    objectName: "chip:" + text
    implicitWidth: label.implicitWidth + leftPadding + rightPadding
    implicitHeight: 28
    leftPadding: 6
    rightPadding: 6
    focusPolicy: Qt.TabFocus
    Accessible.name: text
    Accessible.checkable: true
    Accessible.checked: on

    contentItem: Text {
        id: label
        text: chip.text
        textFormat: Text.PlainText
        font: Theme.captionFont
        color: chip.on ? Theme.textPrimary : Theme.textSecondary
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: Math.floor(Theme.captionFont.pixelSize * 0.7)
        elide: Text.ElideRight
        maximumLineCount: 1
        opacity: chip.down ? 0.7 : 1
    }
    background: Rectangle {
        objectName: "chipBackground"
        radius: 8
        color: Theme.surface
        gradient: chip.on ? Theme.accentGradient : null
        border.color: chip.on ? Theme.transparent : Theme.accentTintSoft
        border.width: 1
    }
}
