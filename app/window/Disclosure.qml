// A disclosure row: a chevron that turns when open, and a caption.
//   text, expanded; clicked()
import QtQuick
import QtQuick.Templates as T
import Zephrin.Controls

T.AbstractButton {
    id: row
    property bool expanded: false

    implicitWidth: 400
    implicitHeight: Math.max(20, caption.implicitHeight)
    focusPolicy: Qt.TabFocus
    Accessible.name: text

    contentItem: Row {
        spacing: 6
        ZPIcon {
            anchors.verticalCenter: parent.verticalCenter
            symbol: "chevron.down"
            size: 10
            rotation: row.expanded ? 0 : -90
            color: Theme.textSecondary
        }
        Text {
            id: caption
            anchors.verticalCenter: parent.verticalCenter
            width: row.width - 20
            text: row.text
            font: Theme.captionFont
            color: Theme.textPrimary
            wrapMode: Text.WordWrap
        }
    }
}
