// A line of text whose digits all take the width of the font's widest digit,
// so a number that changes ("1215 × 1215" becoming "1080 × 1080") keeps its
// width and what stands beside it stays put. The theme's font has
// proportional digits; every other character keeps its own width.
//   text, font, color
import QtQuick
import Zephrin.Controls

Row {
    id: line
    property string text
    property font font: Theme.bodyFont
    property color color: Theme.textPrimary

    // One run per digit, and one per stretch of anything else.
    readonly property var runs: text.match(/[0-9]|[^0-9]+/g) || []
    readonly property real digitWidth: Math.max(...Array.from("0123456789", (d) => metrics.advanceWidth(d)))

    Accessible.role: Accessible.StaticText
    Accessible.name: text

    FontMetrics {
        id: metrics
        font: line.font
    }

    Repeater {
        model: line.runs
        Text {
            required property string modelData
            readonly property bool digit: modelData >= "0" && modelData <= "9" && modelData.length === 1
            // Advance widths, so spaces at either end of a run count.
            width: digit ? line.digitWidth : metrics.advanceWidth(modelData)
            horizontalAlignment: digit ? Text.AlignHCenter : Text.AlignLeft
            text: modelData
            font: line.font
            color: line.color
        }
    }
}
