import QtQuick
import QtTest
import Zephrin.Model
import Zephrin.Shell

WindowHarness {
    name: "StatusAndDialogs"

    function cleanup() {
        Editor.showIncomingReplaceConfirm = false
        Editor.pendingIncomingURL = ""
        Editor.showExportSheet = false
        Editor.lastError = ""
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
        // That file was gone: the hand-off says so.
        compare(Editor.lastError, "Couldn't open the shared image.")
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
        settings.close()
    }
}
