// Until the panel is built: its header alone.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls

ColumnLayout {
    spacing: 24
    ZPPanelHeader {
        title: "Adjust"
        symbol: "slider.horizontal.3"
    }
}
