import QtQuick
import QtTest
import Zephrin.Controls
import Zephrin.Inspector
import Zephrin.Model
import Zephrin.Shell
import Zephrin.TestSupport

TestCase {
    id: testCase
    name: "ExportSheet"
    when: windowShown
    visible: true
    width: 380
    height: 900

    Component {
        id: sheetComponent
        ExportSheetView { width: 380 }
    }
    Component {
        id: spyComponent
        SignalSpy { target: Editor }
    }

    function cleanup() {
        Editor.clearDocument()
        Driver.settle()
        Editor.exportFormat = "PNG"
        Editor.svgFileMaker = false
        Editor.transparentBackground = true
        Editor.activePreset = undefined
        Editor.lastError = ""
        Editor.exportDestination = "files"
        Editor.showFileExporter = false
    }

    // Lets the layouts around an item place it.
    function settle(item) {
        for (let p = item; p; p = p.parent)
            waitForItemPolished(p)
    }
    function click(item) {
        settle(item)
        mouseClick(item)
    }

    function child(root, name) {
        const found = findChild(root, name)
        verify(found, "no item " + name)
        return found
    }

    function test_aNewEditorShowsThePngRows() {
        const sheet = createTemporaryObject(sheetComponent, testCase)
        verify(child(child(sheet, "formatChips"), "chip:PNG").isSelection)
        compare(child(sheet, "sizeRow").selection, "2400 px")
        const quality = child(sheet, "qualityRow")
        verify(quality.visible)
        compare(child(quality, "valueText").text, "90%")
        verify(!quality.enabled)
        compare(quality.opacity, 0.4)
        verify(child(sheet, "transparencyRow").enabled)
        verify(child(sheet, "transparencySwitch").on)
        compare(child(sheet, "confirmExport").text, "Export Image")
        verify(!child(sheet, "traceBlock").visible)
        verify(!child(sheet, "webpNote").visible)
        verify(!child(sheet, "exportError").visible)
        verify(!child(sheet, "requirementSummary").visible)
        // Nothing to export yet.
        verify(!child(sheet, "confirmExport").enabled)
    }

    function test_rowsFollowTheFormat() {
        const sheet = createTemporaryObject(sheetComponent, testCase)
        click(child(child(sheet, "formatChips"), "chip:JPG"))
        compare(Editor.exportFormat, "JPG")
        verify(child(sheet, "qualityRow").enabled)
        const transparency = child(sheet, "transparencyRow")
        verify(!transparency.enabled)
        compare(transparency.opacity, 0.4)
        verify(Editor.transparentBackground)

        Editor.exportFormat = "WebP"
        verify(child(sheet, "webpNote").visible)
        verify(child(sheet, "transparencyRow").enabled)
        Editor.exportFormat = "HEIC"
        verify(!child(sheet, "webpNote").visible)
        verify(child(sheet, "qualityRow").enabled)

        click(child(child(sheet, "formatChips"), "chip:SVG"))
        verify(!child(sheet, "qualityRow").visible)
        verify(!child(sheet, "transparencyRow").visible)
        verify(child(sheet, "traceBlock").visible)
        verify(child(child(sheet, "traceChips"), "chip:Auto").isSelection)
        compare(child(sheet, "colorsRow").selection, "Silhouette")
        compare(child(child(sheet, "detailRow"), "valueText").text, "Balanced")
        verify(!child(sheet, "fileMakerSwitch").on)
        verify(child(sheet, "traceSizeRow").visible)
        compare(child(sheet, "traceSizeRow").selection, "2400 px")
        compare(child(sheet, "confirmExport").text, "Export SVG")

        // The FileMaker icon dims the Colors menu, not its title, and keeps the count.
        click(child(child(sheet, "fileMakerSwitch"), "switch"))
        verify(Editor.svgFileMaker)
        const menu = child(child(sheet, "colorsRow"), "menuButton")
        verify(!menu.enabled)
        compare(menu.opacity, 0.4)
        compare(Editor.svgColors, 1)
        Editor.svgDetail = 0.67
        compare(child(child(sheet, "detailRow"), "valueText").text, "Precise")
        Editor.svgDetail = 0.6
    }

    function test_anOpaqueResultHasNoTransparencyToKeep() {
        const sheet = createTemporaryObject(sheetComponent, testCase)
        Driver.openPicture(120, 80)
        const row = child(sheet, "transparencyRow")
        const toggle = child(sheet, "transparencySwitch")
        verify(row.enabled)
        verify(toggle.on)
        // A colour fills the background: the file is opaque, and the row says so.
        Editor.setComp("backgroundMode", "Color")
        Driver.settle()
        verify(Editor.resultOpaque)
        verify(!row.enabled)
        compare(row.opacity, 0.4)
        verify(!toggle.on)
        verify(Editor.transparentBackground)
        // Back to transparent, the choice stands again.
        Editor.setComp("backgroundMode", "Transparent")
        Driver.settle()
        verify(row.enabled)
        verify(toggle.on)
    }

    function test_menusWriteOnlyAChange() {
        const sheet = createTemporaryObject(sheetComponent, testCase)
        const spy = createTemporaryObject(spyComponent, testCase, { signalName: "exportLongEdgeChanged" })
        const size = child(sheet, "sizeRow")
        size.selected("2400 px")
        compare(spy.count, 0)
        size.selected("800 px")
        compare(Editor.exportLongEdge, 800)
        compare(size.selection, "800 px")
        compare(spy.count, 1)
        Editor.exportLongEdge = 2400

        Editor.exportFormat = "SVG"
        const colors = child(sheet, "colorsRow")
        compare(colors.options[1], "2 colors")
        colors.selected("16 colors")
        compare(Editor.svgColors, 16)
        Editor.svgColors = 1
        spy.target = null
    }

    function test_exportClearsTheOldErrorAndStaysOpen() {
        const sheet = createTemporaryObject(sheetComponent, testCase)
        Driver.openPicture(120, 80)
        // A save that failed: the next export starts without its error.
        Editor.exportImage()
        Driver.settle()
        Commands.exporterClosed(Driver.fileInFolder("no-such-folder/out.png"))
        Driver.settle()
        const error = child(sheet, "exportError")
        verify(error.visible)
        compare(error.text, "Couldn't save out.png: the folder doesn't exist.")

        Editor.exportDestination = "share"
        Editor.showExportSheet = true
        const button = child(sheet, "confirmExport")
        verify(button.enabled)
        click(button)
        compare(Editor.exportDestination, "files")
        verify(!error.visible)
        verify(Editor.isProcessing)
        verify(!button.enabled)
        verify(Editor.showExportSheet)
        Driver.settle()
        verify(button.enabled)
        // The save dialog opens over the sheet, which stays, and is there
        // again when the dialog is cancelled.
        verify(Editor.showFileExporter)
        verify(Editor.showExportSheet)
        Commands.exporterClosed("")
        verify(!Editor.showFileExporter)
        verify(Editor.showExportSheet)
        Editor.showExportSheet = false
    }

    // Choosing another format moves neither the chips nor the Export button:
    // a second click lands on what the first one aimed at.
    function test_theLayoutStaysPutAcrossFormats() {
        const sheet = createTemporaryObject(sheetComponent, testCase)
        Driver.openPicture(120, 80)
        Editor.activePreset = "Etsy listing"
        const chips = child(sheet, "formatChips")
        const button = child(sheet, "confirmExport")
        let first = null
        for (const format of ["PNG", "SVG", "WebP", "JPG", "HEIC", "PNG"]) {
            click(child(chips, "chip:" + format))
            compare(Editor.exportFormat, format)
            settle(button)
            const seen = { height: sheet.implicitHeight, chips: chips.mapToItem(sheet, 0, 0).y,
                           button: button.mapToItem(sheet, 0, 0).y }
            if (first === null)
                first = seen
            compare(seen, first, format)
        }
    }

    // The Size menu names the long edge asked for; the note under it says
    // what is written, a picture never larger than it is, and whether that
    // falls short of the active preset.
    function test_theSizeNoteSaysWhatIsWritten() {
        const sheet = createTemporaryObject(sheetComponent, testCase)
        const note = child(sheet, "sizeNote")
        verify(!note.visible)
        Driver.openPicture(1600, 1200)
        compare(child(sheet, "sizeRow").selection, "2400 px")
        verify(note.visible)
        compare(note.text, "Writes 1600 × 1200 px. The picture is smaller than 2400 px, and an export never enlarges it.")
        compare(note.color, Theme.textTertiary)

        child(sheet, "sizeRow").selected("1200 px")
        Editor.activePreset = "Etsy listing"
        compare(note.text, "Writes 1200 × 900 px, under the 2000 px “Etsy listing” asks for.")
        compare(note.color, Theme.accentPink)
        verify(Editor.complianceItems.some((i) => i.text === "Longest side ≥ 2000 px (now 1200 px)" && !i.ok))

        // A drawing is written at the size chosen, larger or smaller.
        Editor.exportFormat = "SVG"
        verify(!note.visible)
        compare(child(sheet, "traceSizeNote").text,
                "Writes the drawing 1200 px on its longer side, under the 2000 px “Etsy listing” asks for.")
        Editor.exportLongEdge = 2400
    }

    function test_anOldErrorIsGoneOnceSomethingElseWorks() {
        const sheet = createTemporaryObject(sheetComponent, testCase)
        Driver.openPicture(120, 80)
        Editor.importImage(Driver.writeText("notes.png", "not a picture"))
        Driver.settle()
        const error = child(sheet, "exportError")
        compare(error.text, "Couldn't open notes.png: it isn't a picture Zephrin reads.")
        Editor.feather = 3
        Driver.settle()
        verify(!error.visible)
    }

    function test_theRequirementSummaryNeedsAPreset() {
        const sheet = createTemporaryObject(sheetComponent, testCase)
        const summary = child(sheet, "requirementSummary")
        verify(!summary.visible)
        Editor.activePreset = "Etsy listing"
        verify(summary.visible)
        verify(child(sheet, "requirementText").text.indexOf("Etsy listing") >= 0)
        Editor.activePreset = undefined
        verify(!summary.visible)
    }
}
