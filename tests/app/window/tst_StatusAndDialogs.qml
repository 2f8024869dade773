import QtQuick
import QtQuick.Controls.Basic
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
        Commands.cancelClearResults()
        Editor.clearStickerSheet()
        Editor.batch.clear()
        Editor.batchMode = false
        Editor.tool = "cutout"
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

    // Ctrl+Q with work in the document asks what goes, as Clear does; the
    // window stays while the answer is "Keep Working".
    function test_quittingWithWorkInTheDocumentAsks() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        Editor.setComp("backgroundMode", "Color")
        Editor.addTextLayer()
        Driver.settle()
        const question = item(window, "quitQuestion")
        keyClick(Qt.Key_Q, Qt.ControlModifier)
        tryCompare(question, "opened", true)
        compare(item(question, "questionDetail").text,
                "Quitting discards the text layer, the background and the undo history.")
        mouseClick(item(question, "keepWorking"))
        tryCompare(question, "visible", false)
        verify(window.visible)
        verify(Editor.document !== undefined)

        // With a sheet that no file holds as well, the question names both.
        Editor.addToStickerSheet()
        Driver.settle()
        window.close()
        tryCompare(question, "opened", true)
        compare(item(question, "questionDetail").text,
                "Quitting discards the text layer, the background and the undo history. The sticker sheet is "
                + "not saved in any file either; quitting discards it too.")
        keyClick(Qt.Key_Escape)
        tryCompare(question, "visible", false)
        verify(window.visible)
    }

    // "Clear all" and "Clear sheet" ask while their results exist only in
    // memory; without them they clear at once.
    function test_clearingUnsavedResultsAsks() {
        const window = openWindow()
        const question = item(window, "clearResultsQuestion")
        const batch = Editor.batch
        batch.add([Driver.writePicture("one.png", 120, 80), Driver.writePicture("two.png", 120, 80)])
        mouseClick(item(window, "sidebar:batch"))
        tryCompare(item(window, "batchPanelSlot"), "width", 310)
        batch.start(Editor)
        Driver.settle()
        compare(batch.doneCount, 2)
        mouseClick(item(window, "clearAllButton"))
        tryCompare(question, "opened", true)
        compare(find(question, "questionDetail").text,
                "2 batch results are not saved in any file. Clearing discards them.")
        compare(item(question, "confirmClearResults").text, "Clear All")
        mouseClick(item(question, "keepWorking"))
        tryCompare(question, "visible", false)
        compare(batch.total, 2)
        mouseClick(item(window, "clearAllButton"))
        tryCompare(question, "opened", true)
        keyClick(Qt.Key_Return)   // the highlighted action
        tryCompare(question, "visible", false)
        compare(batch.total, 0)
        batch.add([Driver.writePicture("three.png", 120, 80)])
        mouseClick(item(window, "clearAllButton"))
        compare(batch.total, 0)
        verify(!question.visible)

        Editor.batchMode = false
        Driver.openPicture(120, 80)
        Editor.addToStickerSheet()
        Driver.settle()
        waitForRendering(window.contentItem)
        mouseClick(item(window, "sheetClear"))
        tryCompare(question, "opened", true)
        compare(item(question, "questionDetail").text, "The sticker sheet is not saved in any file. Clearing discards it.")
        compare(item(question, "confirmClearResults").text, "Clear Sheet")
        keyClick(Qt.Key_Escape)
        tryCompare(question, "visible", false)
        compare(Editor.sheetItemList.count, 1)
        mouseClick(item(window, "sheetClear"))
        tryCompare(question, "opened", true)
        mouseClick(item(question, "confirmClearResults"))
        tryCompare(question, "visible", false)
        compare(Editor.sheetItemList.count, 0)
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
        // Pointed at, it is read whole.
        verify(!error.ToolTip.visible)
        mouseMove(error, error.width / 2, error.height / 2)
        tryVerify(() => error.ToolTip.visible)
        compare(error.ToolTip.text, Editor.lastError)
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

    // Escape and Ctrl+W close the settings window wherever its focus is; with
    // no title bar around it (no window manager, as here) it has a close
    // button of its own.
    function test_settingsWindowClosesWithoutAWindowManager() {
        const window = openWindow()
        const ways = ["escape", "ctrl+w", "escapeInTheLicence", "ctrl+wInTheLicence", "ctrl+wOnTheSwitch",
                      "escapeAfterAMenu", "button"]
        for (const way of ways) {
            window.openSettings()
            const settings = window.settingsWindow
            tryVerify(() => settings.visible && Driver.focusWindow() === settings, Driver.patience, way)
            tryVerify(() => settings.activeFocusItem !== null, Driver.patience, way)
            verify(!settings.hasTitleBar)
            verify(item(settings, "settingsHeader").visible)
            if (way.endsWith("InTheLicence")) {
                if (!find(settings, "isnetLicense"))
                    mouseClick(item(settings, "isnetDisclosure"))
                tryVerify(() => find(settings, "isnetLicense") !== null)
                item(settings, "isnetLicense").forceActiveFocus()
                verify(item(settings, "isnetLicense").activeFocus)
            }
            if (way === "escapeAfterAMenu") {
                // The first Escape closes only the open menu of a row.
                const row = item(settings, "formatRow")
                mouseClick(item(row, "menuButton"))
                const menu = find(row, "menu")
                tryVerify(() => menu.opened)
                keyClick(Qt.Key_Escape)
                tryVerify(() => !menu.visible)
                verify(settings.visible)
            }
            if (way === "ctrl+wOnTheSwitch")
                item(item(settings, "autoSubjectRow"), "switch").forceActiveFocus()
            if (way.startsWith("escape"))
                keyClick(Qt.Key_Escape)
            else if (way.startsWith("ctrl+w"))
                keyClick(Qt.Key_W, Qt.ControlModifier)
            else
                mouseClick(item(settings, "settingsClose"))
            tryVerify(() => !settings.visible, Driver.patience, way)
            // The keys go back to the main window.
            tryVerify(() => Driver.focusWindow() === window, Driver.patience, way)
        }
        // Ctrl+W in the settings window closed only it: Clear Image was not
        // asked for.
        verify(!Commands.askingToClear)
        verify(Settings.autoSubjectOnImport)
    }
}
