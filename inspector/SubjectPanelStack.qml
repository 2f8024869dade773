// The body of a panel that works on the cut-out subject (background,
// effects, adjust): the panel's header, the needs-cutout note, then the
// panel's own controls in a leading-aligned column. While there is no cutout
// the whole panel is dimmed to 0.6 and its controls are disabled; the note's
// buttons stay usable, since they are what makes the cutout.
//   title, symbol: the header;  spacing: between all rows (24)
//   children: the panel's controls
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model

ColumnLayout {
    id: stack
    property string title
    property string symbol
    readonly property bool hasCutout: Editor.cutout !== undefined
    default property alias content: body.data

    spacing: 24

    ZPPanelHeader {
        title: stack.title
        symbol: stack.symbol
        opacity: stack.hasCutout ? 1 : 0.6
    }
    NeedsCutoutNote {
        opacity: stack.hasCutout ? 1 : 0.6
    }
    ColumnLayout {
        id: body
        objectName: "subjectPanelBody"
        Layout.fillWidth: true
        spacing: stack.spacing
        enabled: stack.hasCutout
        opacity: stack.hasCutout ? 1 : 0.6
    }
}
