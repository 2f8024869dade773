// A section's heading (15-pt semibold, primary text), with the information
// symbol and its help text when one is given.
//   text; help: "" for no symbol
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls

RowLayout {
    id: heading
    property string text
    property string help: ""

    spacing: 8

    Text {
        text: heading.text
        font: Theme.headlineFont
        color: Theme.textPrimary
        Accessible.role: Accessible.Heading
    }
    InfoSymbol {
        visible: heading.help !== ""
        help: heading.help
    }
}
