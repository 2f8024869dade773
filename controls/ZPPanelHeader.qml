// The title line at the top of a panel: a symbol and the title.
//   title, symbol
import QtQuick
import Zephrin.Controls

Row {
    property string title
    property string symbol

    spacing: 8
    Accessible.role: Accessible.Heading
    Accessible.name: title

    ZPIcon {
        symbol: parent.symbol
        size: 16
        anchors.verticalCenter: parent.verticalCenter
    }
    Text {
        text: parent.title
        font: Theme.titleFont
        color: Theme.textPrimary
        anchors.verticalCenter: parent.verticalCenter
    }
}
