// Until the panel is built: its header alone.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls

ColumnLayout {
    spacing: 24
    ZPPanelHeader {
        title: "Smart Cutout"
        symbol: "wand.and.stars"
    }
}
