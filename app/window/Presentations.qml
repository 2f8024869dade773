// What the editor asks the window to present through its flags: the export
// sheet and the questions before work is thrown away (replacing the image,
// clearing it, clearing the batch or the sticker sheet, quitting). Each opens when its flag turns true; closing one,
// however it closes, tells the editor through Commands or Incoming. The file
// dialogs are the shell's (FileDialogs, in C++).
import QtQuick
import QtQuick.Controls.Basic
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Inspector
import Zephrin.Shell

Item {
    id: presentations

    Popup {
        id: exportSheet
        objectName: "exportSheet"
        modal: true
        // Escape closes only a popup that has the focus.
        focus: true
        anchors.centerIn: parent
        width: 380
        padding: 0
        closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
        onClosed: Editor.showExportSheet = false
        background: PanelBackground { cornerRadius: 16 }
        contentItem: ExportSheetView {}
    }

    DiscardQuestion {
        id: replaceQuestion
        objectName: "replaceQuestion"
        anchors.centerIn: parent
        title: "Replace the current image?"
        detail: Incoming.replaceDetail
        actionText: "Replace"
        actionName: "replace"
        onAnswered: (act) => {
            if (act)
                Incoming.confirmReplace()
            else if (Editor.showIncomingReplaceConfirm)
                Incoming.cancelReplace()
        }
    }

    DiscardQuestion {
        id: clearQuestion
        objectName: "clearQuestion"
        anchors.centerIn: parent
        title: "Clear the current image?"
        detail: Commands.clearDetail
        actionText: "Clear"
        actionName: "confirmClear"
        onAnswered: (act) => act ? Commands.confirmClear() : Commands.cancelClear()
    }

    DiscardQuestion {
        id: quitQuestion
        objectName: "quitQuestion"
        anchors.centerIn: parent
        title: "Quit Zephrin?"
        detail: Commands.quitDetail
        actionText: "Quit"
        actionName: "confirmQuit"
        onAnswered: (act) => act ? Commands.confirmQuit() : Commands.cancelQuit()
    }

    DiscardQuestion {
        id: clearResultsQuestion
        objectName: "clearResultsQuestion"
        anchors.centerIn: parent
        title: Commands.askingToClearSheet ? "Clear the sticker sheet?" : "Clear the batch?"
        detail: Commands.clearResultsDetail
        actionText: Commands.askingToClearSheet ? "Clear Sheet" : "Clear All"
        actionName: "confirmClearResults"
        onAnswered: (act) => act ? Commands.confirmClearResults() : Commands.cancelClearResults()
    }

    Connections {
        target: Commands
        function onQuestionsChanged() {
            if (Commands.askingToClear)
                clearQuestion.open()
            else
                clearQuestion.close()
            if (Commands.askingToClearBatch || Commands.askingToClearSheet)
                clearResultsQuestion.open()
            else
                clearResultsQuestion.close()
            if (Commands.askingToQuit)
                quitQuestion.open()
            else
                quitQuestion.close()
        }
    }

    Connections {
        target: Editor
        function onShowExportSheetChanged() {
            if (Editor.showExportSheet)
                exportSheet.open()
            else
                exportSheet.close()
        }
        function onShowIncomingReplaceConfirmChanged() {
            if (Editor.showIncomingReplaceConfirm)
                replaceQuestion.open()
            else
                replaceQuestion.close()
        }
    }
}
