// The zoom bar in the canvas's lower-left corner: zoom out, the zoom as a
// percentage (click: fit), "1:1" (fit as well), zoom in. The steps are the
// toolbar's; both ends simply stop.
import QtQuick
import QtQuick.Controls.Basic
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Shell

Item {
    implicitWidth: row.implicitWidth + 12
    implicitHeight: row.implicitHeight + 8

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: Theme.badgeBackground
        border.color: Theme.accentTint
        border.width: 1
    }
    Row {
        id: row
        anchors.centerIn: parent
        spacing: 2
        ZPIconButton {
            objectName: "canvasZoomOut"
            symbol: "minus"
            label: "Zoom out"
            size: 28
            anchors.verticalCenter: parent.verticalCenter
            onClicked: Commands.zoomOut()
        }
        AbstractButton {
            objectName: "canvasZoomPercent"
            width: 44
            height: 28
            anchors.verticalCenter: parent.verticalCenter
            ToolTip.text: "Zoom to fit"
            ToolTip.visible: hovered
            ToolTip.delay: 600
            contentItem: Item {
                FixedDigitsText {
                    anchors.centerIn: parent
                    text: Editor.zoomLabel
                    font: Theme.captionFont
                    color: Theme.textPrimary
                }
            }
            onClicked: Editor.zoomToFit()
        }
        Rectangle {
            width: 1
            height: 16
            color: Theme.border
            anchors.verticalCenter: parent.verticalCenter
        }
        AbstractButton {
            objectName: "canvasOneToOne"
            width: 30
            height: 28
            anchors.verticalCenter: parent.verticalCenter
            ToolTip.text: "Fit to window"
            ToolTip.visible: hovered
            ToolTip.delay: 600
            contentItem: Text {
                text: "1:1"
                font: Theme.captionFont
                color: Theme.textSecondary
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
            }
            onClicked: Editor.zoomToFit()
        }
        ZPIconButton {
            objectName: "canvasZoomIn"
            symbol: "plus"
            label: "Zoom in"
            size: 28
            anchors.verticalCenter: parent.verticalCenter
            onClicked: Commands.zoomIn()
        }
    }
}
