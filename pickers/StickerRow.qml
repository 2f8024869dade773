// One design of the sticker sheet: thumbnail, name and remove button above
// the printed width (inches, typed) and the number of copies (stepped 1…200).
// It writes nothing itself: the panel turns its signals into writes of the
// sticker list's roles, which change the editor's sheetItems.
//   name, image, widthInches, count: the design
//   widthEdited(inches), countEdited(count), removed(): the caller writes the model
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Pickers

Rectangle {
    id: row
    property string name
    property var image
    property real widthInches: 0
    property int count: 1
    signal widthEdited(real inches)
    signal countEdited(int count)
    signal removed()

    readonly property int minimumCount: 1
    readonly property int maximumCount: 200

    implicitHeight: content.implicitHeight + 24
    radius: 8
    color: Theme.surface
    clip: true

    ColumnLayout {
        id: content
        anchors.fill: parent
        anchors.margins: 12
        spacing: 8

        RowLayout {
            spacing: 12
            Layout.fillWidth: true
            Rectangle {
                objectName: "stickerThumb"
                implicitWidth: 36
                implicitHeight: 36
                radius: 6
                clip: true
                color: Theme.transparent
                CheckerboardView {
                    anchors.fill: parent
                    cell: 6
                }
                ImageView {
                    anchors.fill: parent
                    image: row.image
                }
            }
            Text {
                objectName: "stickerName"
                Layout.fillWidth: true
                text: row.name
                textFormat: Text.PlainText
                elide: Text.ElideRight
                maximumLineCount: 1
                font: Theme.bodyFont
                color: Theme.textPrimary
            }
            ZPIconButton {
                objectName: "stickerRemove"
                symbol: "xmark"
                label: "Remove"
                size: 26
                onClicked: row.removed()
            }
        }

        RowLayout {
            spacing: 12
            Layout.fillWidth: true
            RowLayout {
                spacing: 4
                Text {
                    text: "Width"
                    font: Theme.captionFont
                    color: Theme.textTertiary
                }
                Rectangle {
                    implicitWidth: 52 + 12
                    implicitHeight: 26
                    radius: 6
                    color: Theme.control
                    TextField {
                        id: widthField
                        objectName: "stickerWidth"
                        anchors.fill: parent
                        anchors.leftMargin: 6
                        anchors.rightMargin: 6
                        padding: 0
                        background: null
                        horizontalAlignment: TextInput.AlignRight
                        verticalAlignment: TextInput.AlignVCenter
                        font: Theme.bodyFont
                        color: Theme.textPrimary
                        selectByMouse: true
                        text: SheetPanelTexts.widthText(row.widthInches)
                        // Commit on Return or when the field loses focus; text
                        // that is not a number leaves the width as it was.
                        onEditingFinished: {
                            const typed = SheetPanelTexts.parseWidth(text)
                            if (typed !== undefined && typed !== row.widthInches)
                                row.widthEdited(typed)
                            text = Qt.binding(() => SheetPanelTexts.widthText(row.widthInches))
                        }
                    }
                }
                Text {
                    text: "in"
                    font: Theme.captionFont
                    color: Theme.textTertiary
                }
            }
            Item { Layout.fillWidth: true }
            RowLayout {
                spacing: 4
                Text {
                    text: "Qty"
                    font: Theme.captionFont
                    color: Theme.textTertiary
                }
                Rectangle {
                    implicitWidth: 34
                    implicitHeight: 26
                    radius: 6
                    color: Theme.control
                    FixedDigitsText {
                        objectName: "stickerCount"
                        anchors.centerIn: parent
                        text: row.count
                        font: Theme.bodyFont
                        color: Theme.textPrimary
                    }
                }
                Row {
                    spacing: 2
                    ZPIconButton {
                        objectName: "stickerFewer"
                        symbol: "minus"
                        label: "Fewer"
                        size: 22
                        enabled: row.count > row.minimumCount
                        onClicked: row.countEdited(row.count - 1)
                    }
                    ZPIconButton {
                        objectName: "stickerMore"
                        symbol: "plus"
                        label: "More"
                        size: 22
                        enabled: row.count < row.maximumCount
                        onClicked: row.countEdited(row.count + 1)
                    }
                }
            }
        }
    }
}
