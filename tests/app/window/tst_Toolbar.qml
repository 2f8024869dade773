import QtQuick
import QtTest
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Shell

WindowHarness {
    name: "Toolbar"

    function init() {
        Editor.zoom = 1
        Editor.importTarget = "document"
        Editor.showImporter = false
    }

    function test_aNewEditorOffersOnlyImportAndZoom() {
        const window = openWindow()
        for (const name of ["undoButton", "redoButton", "copyButton", "resetButton", "clearButton"])
            verify(!item(window, name).enabled, name)
        verify(item(window, "zoomInButton").enabled)
        verify(item(window, "zoomOutButton").enabled)
        compare(item(window, "zoomLabel").text, "100%")
        const compareButton = item(window, "compareButton")
        verify(!compareButton.enabled)
        compare(compareButton.opacity, 0.5)
        const exportButton = item(window, "exportButton")
        verify(!exportButton.enabled)
        compare(exportButton.opacity, 0.55)
    }

    function test_zoomButtonsWalkTheSteps() {
        const window = openWindow()
        const zoomIn = item(window, "zoomInButton")
        const zoomOut = item(window, "zoomOutButton")
        const seen = []
        for (let i = 0; i < 5; ++i) {
            mouseClick(zoomIn)
            seen.push(Editor.zoom)
        }
        compare(seen, [1.5, 2, 3, 4, 4])
        Editor.zoom = 1
        for (let i = 0; i < 4; ++i)
            mouseClick(zoomOut)
        compare(Editor.zoom, 0.25)
    }

    function test_everyImportOpensTheImporterForTheDocument_data() {
        return [{ tag: "Import" }, { tag: "Import Image…" }]
    }

    function test_everyImportOpensTheImporterForTheDocument(data) {
        const window = openWindow()
        // The backdrop picker had asked for a background.
        Editor.importTarget = "background"
        if (data.tag === "Import") {
            mouseClick(item(window, "importButton"))
        } else {
            mouseClick(item(window, "importMenuButton"))
            const menu = item(window, "importMenu")
            tryCompare(menu, "opened", true)
            menu.itemAt(0).triggered()
        }
        compare(Editor.importTarget, "document")
        verify(Editor.showImporter)
        Commands.importerClosed("")
        verify(!Editor.showImporter)
    }

    function test_importMultipleOpensTheBatchImporter() {
        const window = openWindow()
        mouseClick(item(window, "importMenuButton"))
        const menu = item(window, "importMenu")
        tryCompare(menu, "opened", true)
        menu.itemAt(1).triggered()
        verify(Editor.batchMode)
        verify(Editor.batch.showImporter)
        verify(!Editor.showImporter)
        Editor.batch.showImporter = false
        Editor.batchMode = false
    }

    function test_exportMenuListsTheFormatsAndOpensTheSheet() {
        const window = openWindow()
        const menu = item(window, "exportFormatMenu")
        compare(menu.count, 7)  // the formats, a line, "Share…"
        compare(menu.itemAt(2).text, "Export as WebP…")
        compare(menu.itemAt(6).text, "Share…")
        menu.itemAt(2).triggered()
        compare(Editor.exportFormat, "WebP")
        verify(Editor.showExportSheet)
        Editor.showExportSheet = false
        Editor.exportFormat = "PNG"
    }

    function test_theBatchShowsNoCanvasControls() {
        const window = openWindow()
        const canvasControls = ["zoomCluster", "compareButton", "exportButton"]
        for (const name of canvasControls)
            verify(item(window, name).visible, name)
        Editor.batchMode = true
        for (const name of canvasControls)
            verify(!item(window, name).visible, name)
        verify(item(window, "importButton").visible)
        Editor.batchMode = false
        for (const name of canvasControls)
            verify(item(window, name).visible, name)
    }

    function test_theExportButtonNamesTheSheetInSheetMode() {
        const window = openWindow()
        compare(item(window, "exportLabel").text, "Export")
        Editor.tool = "sheet"
        compare(item(window, "exportLabel").text, "Export Sheet")
        Editor.tool = "cutout"
    }
}
