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

    // The caption and note give way before the switch: a note too long for
    // the row wraps.
    ColumnLayout {
        spacing: 2
        Layout.alignment: Qt.AlignVCenter
        Layout.fillWidth: true
        Text {
            text: row.label
            font: Theme.headlineFont
            color: Theme.textPrimary
        }
        Text {
            objectName: "note"
            Layout.fillWidth: true
            visible: row.note !== ""
            text: row.note
            font: Theme.captionFont
            color: Theme.textTertiary
            wrapMode: Text.WordWrap
        }
    }
    Item { Layout.fillWidth: true }
    ZPToggle {
        objectName: "toggle"
        on: row.on
        showsLabel: true
        Accessible.name: row.label
        onToggled: (value) => row.toggled(value)
    }
}
