// Until the panel is built: its header alone.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls

ColumnLayout {
    property bool showFonts: false
    property bool showShapes: false
    property var swatches: []
    spacing: 24
    ZPPanelHeader {
        title: "Text"
        symbol: "textformat"
    }
}
