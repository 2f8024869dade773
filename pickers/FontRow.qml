// One font of the font picker: its preview (the name in text until the
// preview arrives), a spinner while it downloads, and the heart that adds it
// to or removes it from the favourites. The whole 40-point row but the heart
// picks the font.
//   modelData: a row of FontPickerModel.rows
//   favorite, downloading, selected: the row's marks
//   chosen(id), heartClicked(id)
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import Zephrin.Controls
import Zephrin.Pickers

Rectangle {
    id: row
    required property var modelData
    property bool favorite: false
    property bool downloading: false
    property bool selected: false
    signal chosen(string id)
    signal heartClicked(string id)

    objectName: "fontRow:" + modelData.id
    implicitHeight: 40
    radius: 6
    color: row.selected ? Theme.control : Theme.transparent

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 8
        anchors.rightMargin: 8
        spacing: 8

        T.Button {
            id: pickButton
            objectName: "fontPick"
            Layout.fillWidth: true
            Layout.fillHeight: true
            focusPolicy: Qt.TabFocus
            Accessible.name: row.modelData.name
            ToolTip.visible: hovered
            ToolTip.delay: 600
            ToolTip.text: row.modelData.tooltip
            onClicked: row.chosen(row.modelData.id)
            background: Item {}
            contentItem: RowLayout {
                spacing: 6
                Image {
                    id: preview
                    objectName: "fontPreview"
                    visible: status === Image.Ready
                    Layout.fillWidth: true
                    Layout.maximumHeight: 30
                    Layout.preferredHeight: Math.min(30, sourceSize.height / 2)
                    source: FontPreviews.source(row.modelData.id, Theme.textPrimary)
                    asynchronous: true
                    fillMode: Image.PreserveAspectFit
                    horizontalAlignment: Image.AlignLeft
                }
                Text {
                    objectName: "fontName"
                    visible: preview.status !== Image.Ready
                    Layout.fillWidth: true
                    text: row.modelData.name
                    font: Theme.bodyFont
                    color: Theme.textSecondary
                    elide: Text.ElideRight
                }
                BusyIndicator {
                    objectName: "fontDownloading"
                    visible: row.downloading
                    running: visible
                    implicitWidth: 14
                    implicitHeight: 14
                }
            }
        }

        T.Button {
            objectName: "fontHeart"
            implicitWidth: 20
            implicitHeight: 20
            focusPolicy: Qt.TabFocus
            Accessible.name: row.favorite ? "Remove from favourites" : "Add to favourites"
            onClicked: row.heartClicked(row.modelData.id)
            background: Item {}
            contentItem: ZPIcon {
                symbol: row.favorite ? "heart.fill" : "heart"
                size: 13
                color: row.favorite ? Theme.accentPink : Theme.textTertiary
            }
        }
    }
}
