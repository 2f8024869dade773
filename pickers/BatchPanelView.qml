// Stand-in for the batch panel (module Zephrin.Pickers, type BatchPanelView)
// until it arrives.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls

Item {
    PanelBackground {
        anchors.fill: parent
        cornerRadius: 16
    }
    ZPPanelHeader {
        x: 20
        y: 20
        title: "Batch"
        symbol: "square.grid.2x2"
    }
}
