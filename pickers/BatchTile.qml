// One image of the batch grid: its preview over the checkerboard (the result
// once done, else the source at half strength), the status badge, why the
// file failed, and the file's name. A click opens the image in the editor.
//   the model's roles: url, baseName, status, message, thumbnail, showsResult
//   opened(): the tile was tapped
import QtQuick
import QtQuick.Controls.Basic
import Zephrin.Controls

Item {
    id: tile
    required property url url
    required property string baseName
    required property string status
    required property string message
    required property var thumbnail
    required property bool showsResult
    signal opened()

    objectName: "batchTile:" + baseName
    height: box.height + 6 + name.height
    Accessible.role: Accessible.Button
    Accessible.name: baseName

    Item {
        id: box
        width: parent.width
        height: 150

        CheckerboardView {
            anchors.fill: parent
            cell: 12
            cornerRadius: 12
        }
        ImageView {
            objectName: "tileImage"
            anchors.fill: parent
            anchors.margins: 6
            image: tile.thumbnail
            opacity: tile.showsResult ? 1 : 0.5
        }

        // Status badge.
        Rectangle {
            objectName: "processingBadge"
            visible: tile.status === "processing"
            anchors.centerIn: parent
            width: 28
            height: 28
            radius: 14
            color: Theme.shadow
            ZPSpinner {
                anchors.centerIn: parent
                size: 16
                running: parent.visible
            }
        }
        ZPIcon {
            objectName: "doneBadge"
            visible: tile.status === "done"
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            anchors.margins: 14
            symbol: "checkmark.circle.fill"
            size: 16
            color: Theme.success
        }
        // Why the file failed, over its preview; the badge's tooltip holds
        // the whole sentence when it is too long for the tile.
        Rectangle {
            objectName: "failureReason"
            visible: tile.status === "failed" && tile.message !== ""
            anchors.centerIn: parent
            width: parent.width - 24
            height: reason.implicitHeight + 12
            radius: 8
            color: Theme.badgeBackground
            Text {
                id: reason
                anchors.centerIn: parent
                width: parent.width - 12
                text: tile.message
                font: Theme.captionFont
                color: Theme.textPrimary
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.WordWrap
                maximumLineCount: 4
                elide: Text.ElideRight
            }
        }
        ZPIcon {
            id: failedBadge
            objectName: "failedBadge"
            visible: tile.status === "failed"
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            anchors.margins: 14
            symbol: "exclamationmark.triangle.fill"
            size: 16
            color: Theme.failure
            // The failure's message, told by the tooltip.
            readonly property string help: tile.message
            Accessible.ignored: false
            Accessible.name: help
            ToolTip.text: help
            ToolTip.visible: failedHover.hovered
            ToolTip.delay: 300
            HoverHandler { id: failedHover }
        }

        Rectangle {
            anchors.fill: parent
            radius: 12
            color: Theme.transparent
            border.color: Theme.accentTintSoft
            border.width: 1
        }
    }

    Text {
        id: name
        objectName: "tileName"
        anchors.top: box.bottom
        anchors.topMargin: 6
        width: parent.width
        text: tile.baseName
        font: Theme.captionFont
        color: Theme.textSecondary
        horizontalAlignment: Text.AlignHCenter
        elide: Text.ElideMiddle
        maximumLineCount: 1
    }

    TapHandler {
        onTapped: tile.opened()
    }
}
