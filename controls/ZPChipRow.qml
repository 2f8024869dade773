// A row of equal chips of which one is chosen (a segmented choice).
//   options:   the choices' texts, in order, shown verbatim
//   selection: the chosen text (none highlighted when it matches no option)
//   selected(option): a chip was pressed; the caller writes the model
import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import Zephrin.Controls

RowLayout {
    id: row
    property var options: []
    property string selection
    signal selected(string option)

    spacing: 8

    Repeater {
        model: row.options
        delegate: T.Button {
            id: chip
            required property string modelData
            readonly property bool isSelection: modelData === row.selection

            objectName: "chip:" + modelData
            text: modelData
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            implicitHeight: 36
            leftPadding: 4
            rightPadding: 4
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
            }
        }
    }
}
