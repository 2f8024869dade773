// A row of chips of which one is chosen (a segmented choice): equal while
// every title fits its share, else each as wide as its title asks (see
// ChipWidths), so a long title is not squeezed while a short one has room.
//   options:   the choices' texts, in order, shown verbatim
//   selection: the chosen text (none highlighted when it matches no option)
//   selected(option): a chip was pressed; the caller writes the model
import QtQuick
import QtQuick.Templates as T
import Zephrin.Controls

// The chips are placed here rather than by a layout: their widths follow the
// row's width, and a layout would feed them back into the width it is given.
Item {
    id: row
    property var options: []
    property string selection
    signal selected(string option)

    readonly property real spacing: 8
    readonly property real chipPadding: 8
    FontMetrics {
        id: metrics
        font: Theme.buttonFont
    }
    readonly property var naturalWidths: options.map((title) => Math.ceil(metrics.advanceWidth(title)) + chipPadding)
    readonly property var chipWidths: Array.from(ChipWidths.widths(naturalWidths, width, spacing))

    implicitWidth: naturalWidths.reduce((sum, w) => sum + w, 0) + spacing * Math.max(options.length - 1, 0)
    implicitHeight: 36

    Repeater {
        model: row.options
        delegate: T.Button {
            id: chip
            required property string modelData
            required property int index
            readonly property bool isSelection: modelData === row.selection

            objectName: "chip:" + modelData
            text: modelData
            x: row.chipWidths.slice(0, index).reduce((sum, w) => sum + w + row.spacing, 0)
            width: row.chipWidths[index] || 0
            height: row.height
            leftPadding: row.chipPadding / 2
            rightPadding: row.chipPadding / 2
            focusPolicy: Qt.TabFocus
            Accessible.name: modelData
            Accessible.checkable: true
            Accessible.checked: isSelection
            onClicked: row.selected(modelData)

            contentItem: Text {
                text: chip.text
                font: Theme.buttonFont
                color: chip.isSelection ? Theme.textPrimary : Theme.textSecondary
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                // Too long for its share: shrink, never below the caption
                // size, then truncate.
                fontSizeMode: Text.HorizontalFit
                minimumPixelSize: Theme.captionFont.pixelSize
                elide: Text.ElideRight
                maximumLineCount: 1
                opacity: chip.down ? 0.7 : 1
            }
            background: Rectangle {
                radius: 8
                color: Theme.surface
                gradient: chip.isSelection ? Theme.accentGradient : null
                border.color: chip.isSelection ? Theme.transparent : Theme.accentTintSoft
                border.width: 1
                ZPFocusRing {
                    shown: chip.activeFocus
                    faceRadius: 8
                }
            }
        }
    }
}
