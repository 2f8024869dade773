// A link: a small plain button in lilac ("Clear paint", "Clear selection").
import QtQuick
import QtQuick.Templates as T
import Zephrin.Controls

T.Button {
    id: link
    implicitWidth: label.implicitWidth
    implicitHeight: label.implicitHeight
    focusPolicy: Qt.TabFocus
    Accessible.name: text
    contentItem: Text {
        id: label
        text: link.text
        font: Theme.captionFont
        color: Theme.accentLight
        opacity: link.down ? 0.7 : 1
    }
    background: null
}
