// The strip under the workspace: the open file, its pixel size (and the
// result's, when it differs), its file size, the zoom, whether a cutout
// exists, and the editor's last error (successes are NoticeToast's); an
// error cut off at its end is read whole in its tooltip.
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Shell

Item {
    Rectangle {
        anchors.top: parent.top
        width: parent.width
        height: 1
        color: Theme.border
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 24
        anchors.rightMargin: 24
        spacing: 32

        Row {
            spacing: 8
            ZPIcon {
                anchors.verticalCenter: parent.verticalCenter
                symbol: "photo"
                size: 12
                color: Theme.textSecondary
            }
            Text {
                objectName: "statusName"
                anchors.verticalCenter: parent.verticalCenter
                text: Commands.documentName
                font: Theme.bodyFont
                color: Theme.textSecondary
            }
        }
        Text {
            objectName: "statusSize"
            text: Commands.documentSizeText
            font: Theme.bodyFont
            color: Theme.textSecondary
        }
        Text {
            objectName: "statusCompositeSize"
            visible: text !== ""
            text: Commands.compositeSizeText
            font: Theme.bodyFont
            color: Theme.accentLight
        }
        Text {
            objectName: "statusFileSize"
            text: Commands.fileSizeText
            font: Theme.bodyFont
            color: Theme.textSecondary
        }
        Row {
            spacing: 8
            Text {
                objectName: "statusZoom"
                anchors.verticalCenter: parent.verticalCenter
                text: Editor.zoomLabel
                font: Theme.bodyFont
                color: Theme.textSecondary
            }
            ZPIcon {
                objectName: "statusCutoutMark"
                anchors.verticalCenter: parent.verticalCenter
                visible: Commands.canCopyResult
                symbol: "checkmark.circle"
                size: 12
                color: Theme.success
            }
        }
        Item { Layout.fillWidth: true }
        Text {
            objectName: "statusError"
            visible: text !== ""
            text: Editor.lastError
            font: Theme.bodyFont
            color: Theme.accentPink
            elide: Text.ElideRight
            Layout.maximumWidth: 420
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            ToolTip.text: text
            ToolTip.visible: truncated && errorHover.hovered
            ToolTip.delay: 300
            HoverHandler { id: errorHover }
        }
    }
}
