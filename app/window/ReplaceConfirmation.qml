// "Replace the current image?": asked when an image handed over from another
// application would discard edits. "Replace" opens it; "Keep Working", Escape
// or any other way of closing drops it.
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Shell

Popup {
    id: question
    objectName: "replaceQuestion"
    modal: true
    // Escape closes only a popup that has the focus.
    focus: true
    width: 400
    padding: 24
    closePolicy: Popup.CloseOnEscape

    // Closing without an answer keeps working; after "Replace" the question
    // is already answered and nothing is parked any more.
    onClosed: {
        if (Editor.showIncomingReplaceConfirm)
            Incoming.cancelReplace()
    }

    background: PanelBackground { cornerRadius: 16 }

    contentItem: ColumnLayout {
        spacing: 12
        Text {
            text: "Replace the current image?"
            font: Theme.headlineFont
            color: Theme.textPrimary
        }
        Text {
            text: "You have edits in progress. Opening the shared image will discard them."
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
                onClicked: Incoming.cancelReplace()
            }
            ZPPrimaryButton {
                objectName: "replace"
                text: "Replace"
                height: 36
                onClicked: Incoming.confirmReplace()
            }
        }
    }
}
