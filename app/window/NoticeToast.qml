// The editor's notice of work that succeeded ("Saved duck.png to ~/Pictures",
// "Copied"), or of a failure away from the view it concerns: a pill over the
// bottom of the workspace (the window holds it in a popup above its questions
// and sheets), with "Show in Folder" when the notice names a file or folder,
// and "Copy Path" when it names one in full. It appears while Editor.notice
// is set; the editor clears it after a few seconds (one naming a file that
// nothing could show stays), and the close button at once.
import QtQuick
import QtQuick.Templates as T
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Shell

Item {
    id: toast
    objectName: "noticeToast"
    readonly property bool shown: Editor.notice !== ""

    implicitWidth: row.implicitWidth + 32
    implicitHeight: 40
    visible: opacity > 0
    opacity: shown ? 1 : 0
    Behavior on opacity { NumberAnimation { duration: 160 } }
    Accessible.role: Accessible.AlertMessage
    Accessible.name: noticeText.text

    component NoticeAction: T.Button {
        id: action
        anchors.verticalCenter: parent.verticalCenter
        implicitWidth: actionLabel.implicitWidth
        implicitHeight: actionLabel.implicitHeight + 4
        Accessible.name: text
        contentItem: Text {
            id: actionLabel
            text: action.text
            font: Theme.buttonFont
            color: Theme.accentLight
            opacity: action.down ? 0.7 : 1
            verticalAlignment: Text.AlignVCenter
        }
        background: null
    }

    // A click on the pill is its own: it reaches neither the picture nor a
    // sheet below, which would take it for a click outside.
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
    }
    ZPShadow {
        color: Theme.shadow
        blur: 12
        cornerRadius: height / 2
    }
    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: Theme.surface
        border.color: Theme.border
        border.width: 1
    }
    Row {
        id: row
        anchors.centerIn: parent
        spacing: 10
        ZPIcon {
            anchors.verticalCenter: parent.verticalCenter
            symbol: Editor.noticeIsFailure ? "exclamationmark.triangle.fill" : "checkmark.circle.fill"
            size: 14
            color: Editor.noticeIsFailure ? Theme.accentPink : Theme.success
        }
        Text {
            id: noticeText
            objectName: "noticeText"
            anchors.verticalCenter: parent.verticalCenter
            // The last text stays while the pill fades out.
            text: Editor.notice !== "" ? Editor.notice : text
            font: Theme.bodyFont
            color: Theme.textPrimary
            elide: Text.ElideMiddle
            width: Math.min(implicitWidth, 520)
        }
        NoticeAction {
            objectName: "noticeShowInFolder"
            visible: Editor.noticeRevealPath !== ""
            text: "Show in Folder"
            onClicked: Commands.showNoticeInFolder()
        }
        NoticeAction {
            objectName: "noticeCopyPath"
            visible: Editor.noticeCopyPath !== ""
            text: "Copy Path"
            onClicked: Editor.copyNoticePath()
        }
        ZPIconButton {
            objectName: "noticeClose"
            anchors.verticalCenter: parent.verticalCenter
            symbol: "xmark"
            label: "Close"
            size: 22
            onClicked: Editor.dismissNotice()
        }
    }
}
