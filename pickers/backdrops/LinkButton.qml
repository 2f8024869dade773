// A borderless text button of the caption lines ("Select", "Done", "Delete
// All…"); a destructive one is drawn in the pink accent.
import QtQuick
import QtQuick.Templates as T
import Zephrin.Controls

T.Button {
    id: link
    property bool destructive: false

    implicitWidth: label.implicitWidth
    implicitHeight: label.implicitHeight + 4
    focusPolicy: Qt.TabFocus
    Accessible.name: text
    contentItem: Text {
        id: label
        text: link.text
        font: Theme.captionFont
        color: link.destructive ? Theme.accentPink : Theme.accentLight
        opacity: !link.enabled ? 0.4 : link.down ? 0.7 : 1
        verticalAlignment: Text.AlignVCenter
    }
    background: null
}
