// A small plain text button of a panel ("Clear edits", "Fill"): 11-pt
// medium in lilac.
//   text;  clicked(): the action
import QtQuick
import QtQuick.Templates as T
import Zephrin.Controls

T.Button {
    id: link
    implicitWidth: label.implicitWidth
    implicitHeight: Math.max(label.implicitHeight, 20)
    focusPolicy: Qt.TabFocus
    Accessible.name: text

    contentItem: Text {
        id: label
        text: link.text
        font: Theme.captionFont
        color: Theme.accentLight
        opacity: link.down ? 0.7 : 1
        verticalAlignment: Text.AlignVCenter
    }
    background: null
}
