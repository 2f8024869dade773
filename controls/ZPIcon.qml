// A symbol of the icon table, drawn as a glyph of the icon font.
//   symbol: the symbol's name ("photo", "chevron.down", …)
//   size:   the point size the symbol is set at
//   color:  its colour (a Theme token)
import QtQuick
import Zephrin.Controls

Text {
    id: icon
    property string symbol
    property real size: 14

    text: Icons.glyph(symbol)
    font.family: Icons.family
    // The icon font draws its glyphs smaller in their box than text does.
    font.pixelSize: Math.round(size * 1.3)
    horizontalAlignment: Text.AlignHCenter
    verticalAlignment: Text.AlignVCenter
    color: Theme.textPrimary
    Accessible.ignored: true
}
