import QtQuick
import QtTest
import Zephrin.Model
import Zephrin.Shell
import Zephrin.TestSupport

WindowHarness {
    name: "StatusAndDialogs"

    function cleanup() {
        Editor.showIncomingReplaceConfirm = false
        Editor.pendingIncomingURL = ""
        Editor.showExportSheet = false
        Editor.lastError = ""
        Commands.cancelClear()
        Commands.cancelQuit()
        Editor.clearStickerSheet()
        Editor.clearDocument()
        Driver.settle()
    }

    // "Clear image" by the toolbar or Ctrl+W asks while the document holds
    // work; "Keep Working" keeps it, "Clear" clears.
    function test_clearingWorkAsksFirst() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        Editor.setComp("shadowEnabled", true)
        Driver.settle()
        const question = item(window, "clearQuestion")
        mouseClick(item(window, "clearButton"))
        tryCompare(question, "opened", true)
        compare(item(question, "questionDetail").text,
                "Clearing discards the picture’s settings and the undo history.")
        mouseClick(item(question, "keepWorking"))
        tryCompare(question, "visible", false)
        verify(Editor.document !== undefined)

        keyClick(Qt.Key_W, Qt.ControlModifier)
        tryCompare(question, "opened", true)
        mouseClick(item(question, "confirmClear"))
        tryCompare(question, "visible", false)
        verify(Editor.document === undefined)
    }

    // Closing the window with a sticker sheet that no file holds asks, and
    // the window stays while the answer is "Keep Working".
    function test_quittingWithAnUnsavedSheetAsks() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        Editor.addToStickerSheet()
        Driver.settle()
        const question = item(window, "quitQuestion")
        window.close()
        tryCompare(question, "opened", true)
        verify(window.visible)
        compare(item(question, "questionDetail").text,
                "The sticker sheet is not saved in any file. Quitting discards it.")
        mouseClick(item(question, "keepWorking"))
        tryCompare(question, "visible", false)
        verify(window.visible)
    }

    // Copy confirms itself in the notice, which then goes.
    function test_copyingSaysCopied() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        mouseClick(item(window, "copyButton"))
        const toast = item(window, "noticeToast")
        verify(toast.shown)
        compare(item(window, "noticeText").text, "Copied")
        verify(!item(window, "noticeShowInFolder").visible)
        Driver.settle()
        tryCompare(toast, "visible", false)
    }

    function test_withoutADocumentTheStatusBarSaysSo() {
        const window = openWindow()
        compare(item(window, "statusName").text, "No image")
        compare(item(window, "statusSize").text, "—")
        compare(item(window, "statusFileSize").text, "—")
        verify(!item(window, "statusCompositeSize").visible)
        verify(!item(window, "statusCutoutMark").visible)
        verify(!item(window, "statusError").visible)
        Editor.lastError = "Couldn't open beach.png."
        verify(item(window, "statusError").visible)
        compare(item(window, "statusError").text, "Couldn't open beach.png.")
        // A long error keeps its beginning and loses its end.
        Editor.lastError = "Couldn't save " + "a-very-long-name-".repeat(12) + ".png: the disk is full."
        const error = item(window, "statusError")
        tryVerify(() => error.truncated && error.width <= 420)
        compare(error.elide, Text.ElideRight)
        Editor.lastError = ""
    }

    function test_theExportSheetFollowsItsFlag() {
        const window = openWindow()
        const sheet = item(window, "exportSheet")
        Editor.showExportSheet = true
        tryCompare(sheet, "opened", true)
        compare(sheet.width, 380)
        keyClick(Qt.Key_Escape)
        tryCompare(sheet, "visible", false)
        verify(!Editor.showExportSheet)
    }

    function test_escapeOnTheReplaceQuestionKeepsWorking() {
        const window = openWindow()
        const question = item(window, "replaceQuestion")
        Editor.pendingIncomingURL = "file:///nowhere/in-00000000-0000-0000-0000-000000000000.png"
        Editor.showIncomingReplaceConfirm = true
        tryCompare(question, "opened", true)
        keyClick(Qt.Key_Escape)
        tryCompare(question, "visible", false)
        verify(!Editor.showIncomingReplaceConfirm)
        compare(Editor.pendingIncomingURL.toString(), "")
    }

    function test_replaceAnswersOnce() {
        const window = openWindow()
        const question = item(window, "replaceQuestion")
        Editor.pendingIncomingURL = "file:///nowhere/in-00000000-0000-0000-0000-000000000001.png"
        Editor.showIncomingReplaceConfirm = true
        tryCompare(question, "opened", true)
        mouseClick(item(window, "replace"))
        tryCompare(question, "visible", false)
        verify(!Editor.showIncomingReplaceConfirm)
        compare(Editor.pendingIncomingURL.toString(), "")
        // That file was gone: opening it says so.
        Driver.runJobs()
        compare(Editor.lastError, "Couldn't open in-00000000-0000-0000-0000-000000000001.png: the file doesn't exist.")
    }

    function test_settingsWriteTheirKeys() {
        const window = openWindow()
        verify(Settings.autoSubjectOnImport)
        compare(Settings.defaultExportFormat, "PNG")
        compare(Settings.defaultLongEdge, 2400)
        window.openSettings()
        const settings = window.settingsWindow
        tryVerify(() => settings.visible)
        const row = item(settings, "autoSubjectRow")
        compare(row.on, true)
        mouseClick(item(row, "switch"))
        verify(!Settings.autoSubjectOnImport)
        compare(row.on, false)
        mouseClick(item(row, "switch"))
        verify(Settings.autoSubjectOnImport)
        compare(item(settings, "longEdgeRow").selection, "2400 px")
        Settings.defaultLongEdge = 3000
        compare(item(settings, "longEdgeRow").selection, "3000 px")
        // The export sheet and the batch start from the defaults.
        compare(Editor.exportLongEdge, 3000)
        compare(Editor.batch.longEdge, 3000)
        Settings.defaultExportFormat = "WebP"
        compare(Editor.exportFormat, "WebP")
        compare(Editor.batch.format, "WebP")
        Settings.defaultExportFormat = "PNG"
        Settings.defaultLongEdge = 2400
        verify(item(settings, "isnetCredit").visible)
        verify(!item(settings, "subjectLiftCredit").visible)
        // Opened, the credit shows the model's notice and its licence.
        mouseClick(item(settings, "isnetDisclosure"))
        tryVerify(() => find(settings, "isnetLicense") !== null)
        verify(item(settings, "isnetLicense").text.indexOf("Apache License") >= 0)
        settings.close()
    }
}
