// Until the panel is built: its header alone.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls

ColumnLayout {
    spacing: 24
    ZPPanelHeader {
        title: "Sticker Sheet"
        symbol: "square.grid.3x3"
    }
}
