import QtQuick
import QtTest
import Zephrin.Model
import Zephrin.Shell
import Zephrin.TestSupport

WindowHarness {
    name: "EditorStates"

    function cleanup() {
        Editor.clearDocument()
        Driver.settle()
        Editor.zoom = 1
    }

    function enabled(window, names) {
        return names.filter((name) => action(window, name).enabled)
    }

    readonly property var documentItems: ["export", "clearImage", "copyResult", "runCutout", "resetToPlainCutout",
                                          "toggleCompare"]

    function test_aDocumentWithoutACutoutCanBeClearedAndCutOut() {
        const window = openWindow()
        Editor.importImage("file:///nowhere/missing.png")
        Driver.settle()
        compare(Editor.lastError, "Couldn't open missing.png: the file doesn't exist.")
        compare(item(window, "statusError").text, "Couldn't open missing.png: the file doesn't exist.")

        Settings.autoSubjectOnImport = false
        Driver.openPicture(60, 40)
        Settings.autoSubjectOnImport = true
        verify(Editor.document !== undefined && Editor.cutout === undefined)
        compare(enabled(window, documentItems), ["clearImage", "runCutout"])
        verify(!item(window, "exportButton").enabled)

        // While the cutout runs: no second one.
        Commands.runCutout()
        verify(Editor.isProcessing)
        verify(item(window, "processingBadge").visible)
        verify(!action(window, "runCutout").enabled)
        Driver.settle()
        verify(!Editor.isProcessing)
        compare(enabled(window, documentItems), ["export", "clearImage", "copyResult", "runCutout", "toggleCompare"])
    }

    function test_decodingAnImportShowsTheBusyState() {
        const window = openWindow()
        Driver.startImport(60, 40)
        verify(Editor.isProcessing)
        verify(item(window, "processingBadge").visible)
        compare(Editor.processingLabel, "Opening image…")
        Driver.settle()
        verify(!item(window, "processingBadge").visible)
        verify(Editor.document !== undefined)
    }

    function test_resetFollowsTheCompositeSettings() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        verify(Editor.cutout !== undefined)
        verify(!action(window, "resetToPlainCutout").enabled)
        verify(!item(window, "resetButton").enabled)
        verify(item(window, "copyButton").enabled)
        Editor.setComp("padding", 20)
        verify(action(window, "resetToPlainCutout").enabled)
        verify(item(window, "resetButton").enabled)
        mouseClick(item(window, "resetButton"))
        verify(!action(window, "resetToPlainCutout").enabled)
        compare(Editor.comp.padding, 6)
    }

    function test_theWindowShowsTheDocument() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        compare(item(window, "statusSize").text, "120 × 80")
        verify(item(window, "statusName").text.endsWith(".png"))
        verify(item(window, "statusCutoutMark").visible)
        verify(!item(window, "emptyState").visible)
        const picture = item(window, "canvasImage")
        verify(picture.visible)
        // Fitted into the canvas with its aspect ratio.
        fuzzyCompare(picture.width / picture.height, 1.5, 0.01)
        const width = picture.width
        mouseClick(item(window, "zoomInButton"))
        fuzzyCompare(picture.width, width * 1.5, 0.5)
        verify(item(window, "exportButton").enabled)
        verify(item(window, "compareButton").enabled)
        verify(item(window, "inspectorExport").enabled)
    }

    function test_undoAndRedoFollowTheHistory() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        verify(!item(window, "undoButton").enabled)
        Editor.feather = 4
        Editor.commitHistory()
        Driver.settle()
        verify(item(window, "undoButton").enabled)
        verify(action(window, "undo").enabled)
        mouseClick(item(window, "undoButton"))
        Driver.settle()
        verify(item(window, "redoButton").enabled)
        verify(!item(window, "undoButton").enabled)
    }

    function test_exportRunsFromTheSheetToTheSaveDialog() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        mouseClick(item(window, "exportMain"))
        const sheet = item(window, "exportSheet")
        tryCompare(sheet, "opened", true)
        mouseClick(item(window, "confirmExport"))
        // The sheet stays open while the save dialog takes the file.
        verify(Editor.showExportSheet)
        Driver.settle()
        verify(Editor.showFileExporter)
        // Offered to the save dialog under the export's name.
        compare(Editor.exportFile.name, Editor.exportFilename)
        compare(Editor.exportFile.fileExtension, "png")
        const target = Driver.fileInFolder("saved.png")
        Commands.exporterClosed(target)
        verify(!Editor.showFileExporter)
        Driver.runJobs()
        verify(Driver.fileSize(target) > 0)
        // The notice says where it went and shows it in the file manager.
        const toast = item(window, "noticeToast")
        tryCompare(toast, "opacity", 1)
        verify(item(window, "noticeText").text.startsWith("Saved saved.png to "))
        mouseClick(item(window, "noticeShowInFolder"))
        compare(Driver.revealed().pop(), target.toString())
        Driver.advance(5000)
        tryCompare(toast, "visible", false)
        Editor.showExportSheet = false
        tryCompare(sheet, "opened", false)
    }

    function test_shareShowsTheFileInTheFileManager() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        Commands.share()
        Driver.runJobs()
        verify(Editor.notice.startsWith("Ready to share "))
        Driver.advance(350)
        verify(!Editor.showShareSheet)
        compare(Driver.revealed().pop(), Editor.shareURL.toString())
        Editor.dismissNotice()
    }

    // A notice that arrives while a question dims the window is drawn above
    // the dimming and its buttons answer; the question stays, unanswered.
    function test_aNoticeOverAQuestionStillAnswers() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        Editor.setComp("shadowEnabled", true)
        Driver.settle()
        const question = item(window, "clearQuestion")
        Commands.clearImage()
        tryCompare(question, "opened", true)

        Driver.setFileManager(false)
        Commands.share()
        Driver.runJobs()
        Driver.advance(350)
        const copy = item(window, "noticeCopyPath")
        tryVerify(() => copy.visible)
        const toast = item(window, "noticeToast")
        tryCompare(toast, "opacity", 1)
        mouseClick(copy)
        compare(Editor.notice, "Copied the path")
        verify(question.opened)
        verify(Editor.document !== undefined)

        mouseClick(item(question, "keepWorking"))
        tryCompare(question, "visible", false)

        // Over the export sheet, which closes on a click outside it, a click
        // on the notice is the notice's own.
        const sheet = item(window, "exportSheet")
        Editor.showExportSheet = true
        tryCompare(sheet, "opened", true)
        mouseClick(toast, 8, toast.height / 2)
        verify(sheet.opened)
        mouseClick(item(window, "noticeClose"))
        compare(Editor.notice, "")
        verify(sheet.opened)
        Editor.showExportSheet = false
        tryCompare(sheet, "opened", false)
        Driver.setFileManager(true)
    }

    function test_clearEmptiesTheWindow() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        mouseClick(item(window, "clearButton"))
        Driver.settle()
        compare(item(window, "statusName").text, "No image")
        verify(item(window, "emptyState").visible)
        // Every format the editor opens, and no other.
        compare(item(window, "emptyStateFormats").text, "PNG, JPG, HEIC, AVIF, WebP, TIFF, BMP, GIF")
        compare(enabled(window, documentItems), [])
    }
}
