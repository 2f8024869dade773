// What the editor asks the window to present through its flags: the export
// sheet and the replace question. Each opens when its flag turns true;
// closing one, however it closes, tells the editor. The file dialogs are
// the shell's (FileDialogs, in C++).
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

    ReplaceConfirmation {
        id: replaceQuestion
        anchors.centerIn: parent
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
