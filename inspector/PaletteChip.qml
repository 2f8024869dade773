// One colour of the selection palette: a swatch over its share of the
// sampled pixels. Ticked while the colour is among the picked colours;
// tapping it ticks or unticks it.
//   entryColor: the colour;  share: its fraction 0…1
import QtQuick
import QtQuick.Templates as T
import Zephrin.Controls
import Zephrin.Inspector
import Zephrin.Model

T.Button {
    id: chip
    property color entryColor
    property real share: 0
    // Read again whenever the picks change.
    readonly property bool picked: Editor.pickedColors.length >= 0
                                   && Editor.isColorPicked(entryColor.r, entryColor.g, entryColor.b)

    objectName: "paletteChip"
    implicitWidth: 54
    implicitHeight: column.implicitHeight
    focusPolicy: Qt.TabFocus
    Accessible.name: RefineText.shareText(share)
    Accessible.checkable: true
    Accessible.checked: picked
    onClicked: Editor.togglePickedColor(entryColor)

    contentItem: Column {
        id: column
        spacing: 3
        opacity: chip.down ? 0.7 : 1
        Rectangle {
            objectName: "paletteSwatch"
            width: chip.width
            height: 30
            radius: 6
            color: chip.entryColor
            border.color: chip.picked ? Theme.accent : Theme.accentTint
            border.width: chip.picked ? 2.5 : 1
            Rectangle {
                objectName: "pickedMark"
                visible: chip.picked
                anchors.top: parent.top
                anchors.right: parent.right
                anchors.margins: 2
                width: 14
                height: 14
                radius: 7
                color: Theme.textPrimary
                ZPIcon {
                    anchors.centerIn: parent
                    symbol: "checkmark.circle.fill"
                    size: 12
                    color: Theme.accent
                }
            }
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: RefineText.shareText(chip.share)
            font: Theme.captionFont
            color: Theme.textSecondary
        }
    }
    background: null
}
