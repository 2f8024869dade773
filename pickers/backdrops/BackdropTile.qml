// One tile of the backdrop grids: a rounded picture area with its thumbnail
// (scaled to fill), the selection ring, an optional badge in the top-right
// corner and an optional caption below. The whole tile takes clicks; a right
// click asks for the context menu.
//   source:        the thumbnail's URL ("" while it should not load yet)
//   pictureHeight: the picture area's height
//   ringed:        the violet 2.5-point ring instead of the hairline
//   spinner:       a small progress indicator while the picture loads, and
//                  a warning mark once it has failed to
//   badge:         "", "heart", "checked" or "unchecked"
//   caption:       the text below ("" for none); captionBright: primary colour
//   help:          the tooltip
//   clicked(), menuRequested(point)
import QtQuick
import QtQuick.Controls.Basic
import Zephrin.Controls

Item {
    id: tile
    property url source
    property real pictureHeight: width / 1.5
    property bool ringed: false
    property bool spinner: false
    property string badge: ""
    property string caption: ""
    property bool captionBright: false
    property int captionSpacing: 3
    property string help: ""
    readonly property bool hasPicture: picture.status === Image.Ready
    readonly property bool pictureFailed: picture.status === Image.Error
    signal clicked()
    signal menuRequested(point position)

    implicitHeight: pictureHeight + (caption !== "" ? captionSpacing + captionText.implicitHeight : 0)

    Rectangle {
        id: area
        width: tile.width
        height: tile.pictureHeight
        radius: 8
        color: Theme.surface
        clip: true

        Image {
            id: picture
            objectName: "thumbnail"
            anchors.fill: parent
            anchors.margins: 1
            source: tile.source
            asynchronous: true
            fillMode: Image.PreserveAspectCrop
            visible: status === Image.Ready
            Accessible.ignored: true
        }
        BusyIndicator {
            objectName: "tileSpinner"
            anchors.centerIn: parent
            width: 18
            height: 18
            padding: 0
            visible: tile.spinner && !tile.hasPicture && !tile.pictureFailed
            running: visible
        }
        ZPIcon {
            objectName: "tileFailed"
            anchors.centerIn: parent
            visible: tile.spinner && tile.pictureFailed
            symbol: "exclamationmark.triangle"
            size: 16
            color: Theme.textTertiary
        }
    }
    Rectangle {
        objectName: "ring"
        x: area.x - border.width / 2
        y: area.y - border.width / 2
        width: area.width + border.width
        height: area.height + border.width
        radius: 8 + border.width / 2
        color: Theme.transparent
        border.color: tile.ringed ? Theme.accent : Theme.accentTintSoft
        border.width: tile.ringed ? 2.5 : 1
    }
    ZPIcon {
        objectName: "badge"
        visible: tile.badge !== ""
        anchors.top: area.top
        anchors.right: area.right
        anchors.margins: tile.badge === "heart" ? 5 : 4
        symbol: tile.badge === "heart" ? "heart.fill"
              : tile.badge === "checked" ? "checkmark.circle.fill" : "circle"
        size: tile.badge === "heart" ? 11 : 15
        color: tile.badge === "heart" ? Theme.accentPink
             : tile.badge === "checked" ? Theme.accent : Theme.textPrimary
        style: Text.Raised
        styleColor: Theme.badgeShadow
    }
    Text {
        id: captionText
        objectName: "caption"
        visible: tile.caption !== ""
        y: area.height + tile.captionSpacing
        width: tile.width
        text: tile.caption
        textFormat: Text.PlainText
        font: Theme.captionFont
        color: tile.captionBright ? Theme.textPrimary : Theme.textSecondary
        horizontalAlignment: Text.AlignHCenter
        maximumLineCount: 1
        // The caption size is the smallest text: a long name is truncated.
        elide: Text.ElideMiddle
    }

    HoverHandler { id: hover }
    ToolTip.visible: hover.hovered && tile.help !== ""
    ToolTip.delay: 700
    ToolTip.text: tile.help
    TapHandler {
        acceptedButtons: Qt.LeftButton
        onTapped: tile.clicked()
    }
    TapHandler {
        acceptedButtons: Qt.RightButton
        onTapped: (point) => tile.menuRequested(point.position)
    }
}
