// A small modal question of the pickers: a title, an optional message and
// content, and two buttons (the accepting one on the right, drawn as a
// destructive action when it deletes).
//   title, message, acceptText, destructive;  accepted()
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Zephrin.Controls

Popup {
    id: popup
    property string title
    property string message
    property string acceptText
    property bool destructive: false
    default property alias content: body.data
    signal accepted()

    function accept() {
        popup.accepted()
        popup.close()
    }

    modal: true
    focus: true
    width: 320
    padding: 20
    x: parent ? (parent.width - width) / 2 : 0
    y: 40
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside

    background: PanelBackground { cornerRadius: 14 }

    contentItem: ColumnLayout {
        spacing: 12
        Text {
            objectName: "popupTitle"
            text: popup.title
            font: Theme.headlineFont
            color: Theme.textPrimary
            wrapMode: Text.WordWrap
            Layout.fillWidth: true
        }
        Text {
            objectName: "popupMessage"
            visible: popup.message !== ""
            text: popup.message
            font: Theme.bodyFont
            color: Theme.textSecondary
            wrapMode: Text.WordWrap
            Layout.fillWidth: true
        }
        ColumnLayout {
            id: body
            Layout.fillWidth: true
        }
        RowLayout {
            spacing: 10
            Item { Layout.fillWidth: true }
            ZPSecondaryButton {
                objectName: "popupCancel"
                text: "Cancel"
                implicitHeight: 32
                onClicked: popup.close()
            }
            ZPPrimaryButton {
                objectName: "popupAccept"
                visible: !popup.destructive
                text: popup.acceptText
                implicitHeight: 32
                onClicked: popup.accept()
            }
            DestructiveButton {
                objectName: "popupDestroy"
                visible: popup.destructive
                text: popup.acceptText
                implicitHeight: 32
                onClicked: popup.accept()
            }
        }
    }
}
