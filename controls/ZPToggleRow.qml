// A caption, an optional note under it, and a ZPToggle with its caption.
//   label, note ("" for none), on;  toggled(on)
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls

RowLayout {
    id: row
    property string label
    property string note: ""
    property bool on: false
    signal toggled(bool on)

    // Takes the width the switch leaves, so a long note wraps instead of
    // widening the panel.
    Column {
        spacing: 2
        Layout.alignment: Qt.AlignVCenter
        Layout.fillWidth: true
        Text {
            width: parent.width
            text: row.label
            font: Theme.headlineFont
            color: Theme.textPrimary
            elide: Text.ElideRight
        }
        Text {
            objectName: "note"
            width: parent.width
            visible: row.note !== ""
            text: row.note
            font: Theme.captionFont
            color: Theme.textTertiary
            wrapMode: Text.WordWrap
        }
    }
    ZPToggle {
        objectName: "toggle"
        on: row.on
        showsLabel: true
        Accessible.name: row.label
        onToggled: (value) => row.toggled(value)
    }
}
