// A question asked before an action throws work away ("Replace the current
// image?", "Clear the current image?", "Quit Zephrin?"): what goes and what
// stays, the action's button and "Keep Working". Return answers with the
// highlighted action; Escape or any other way of closing it without an answer
// keeps working.
//   title, detail, actionText;  actionName: the action button's objectName
//   answered(bool act): true for the action
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Zephrin.Controls

Popup {
    id: question
    property string title
    property string detail
    property string actionText
    property string actionName: "act"
    signal answered(bool act)

    property bool acted: false
    modal: true
    // Escape closes only a popup that has the focus.
    focus: true
    width: 420
    padding: 24
    closePolicy: Popup.CloseOnEscape

    onOpened: acted = false
    onClosed: {
        if (!acted)
            answered(false)
    }

    function answer(act) {
        acted = true
        close()
        answered(act)
    }

    background: PanelBackground { cornerRadius: 16 }

    contentItem: ColumnLayout {
        spacing: 12
        focus: true
        Keys.onReturnPressed: question.answer(true)
        Keys.onEnterPressed: question.answer(true)
        Text {
            text: question.title
            font: Theme.headlineFont
            color: Theme.textPrimary
        }
        Text {
            objectName: "questionDetail"
            text: question.detail
            font: Theme.bodyFont
            color: Theme.textSecondary
            wrapMode: Text.WordWrap
            Layout.fillWidth: true
        }
        RowLayout {
            Layout.topMargin: 8
            spacing: 12
            Item { Layout.fillWidth: true }
            ZPSecondaryButton {
                objectName: "keepWorking"
                text: "Keep Working"
                height: 36
                onClicked: question.answer(false)
            }
            ZPPrimaryButton {
                objectName: question.actionName
                text: question.actionText
                height: 36
                onClicked: question.answer(true)
            }
        }
    }
}
