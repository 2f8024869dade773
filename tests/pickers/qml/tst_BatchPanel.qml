import QtQuick
import QtTest
import Zephrin.Model
import Zephrin.Pickers
import Zephrin.TestSupport

BatchHarness {
    name: "BatchPanel"

    Component { id: panelComponent; BatchPanelView { width: 310; height: 880 } }

    function makePanel() {
        const panel = createTemporaryObject(panelComponent, this)
        verify(panel)
        return panel
    }

    function test_anEmptyQueueOffersOnlyAddingFiles() {
        const panel = makePanel()
        verify(!item(panel, "batchCount").visible)
        verify(!item(panel, "clearAllButton").visible)
        verify(!item(panel, "batchProgress").visible)
        const run = item(panel, "runBatchButton")
        verify(run.visible)
        verify(!run.enabled)
        verify(!item(panel, "exportAllButton").visible)
        verify(!item(panel, "failureNote").visible)
        verify(!item(panel, "batchError").visible)
        verify(item(panel, "addImagesButton").enabled)
    }

    function test_aFinishedQueueCountsItsDoneAndFailedImages() {
        const panel = makePanel()
        queue(["a.png", "broken-1.png"])
        batch.start(Editor)
        Driver.settle()
        queue(["c.png"])
        compare(item(panel, "batchCount").text, "1/3")
        verify(item(panel, "clearAllButton").visible)
        const exportAll = item(panel, "exportAllButton")
        verify(exportAll.visible)
        compare(exportAll.text, "Export All (1)")
        const note = item(panel, "failureNote")
        verify(note.visible)
        compare(note.text, "1 image couldn't be processed. Click a red tile to open it in the editor.")
        verify(item(panel, "runBatchButton").enabled)

        queue(["broken-2.png"])
        batch.start(Editor)
        Driver.settle()
        compare(item(panel, "batchCount").text, "2/4")
        compare(note.text, "2 images couldn't be processed. Click a red tile to open it in the editor.")
        compare(exportAll.text, "Export All (2)")
    }

    function test_aRunShowsWhichImageAndHowFar() {
        const panel = makePanel()
        queue(["a.png", "b.png", "c.png", "d.png", "e.png"])
        mouseClick(item(panel, "runBatchButton"))
        verify(batch.isRunning)
        cut(2)
        const progress = item(panel, "batchProgress")
        verify(progress.visible)
        compare(item(panel, "batchProgressText").text, "Cutting image 3 of 5…")
        const bar = item(panel, "batchProgressBar")
        compare(bar.value, 2)
        compare(bar.to, 5)
        compare(item(panel, "batchCurrentFile").text, "c.png")
        verify(item(panel, "cancelButton").visible)
        verify(!item(panel, "runBatchButton").visible)

        // Cancel: the file in progress ends, the rest stay queued.
        waitForRendering(panel)
        mouseClick(item(panel, "cancelButton"))
        verify(!progress.visible)
        verify(item(panel, "runBatchButton").visible)
        Driver.settle()
        compare(item(panel, "batchCount").text, "3/5")
        verify(batch.didFinish)
    }

    function test_aPresetDecidesTheOutput() {
        const panel = makePanel()
        verify(item(panel, "formatMenu").visible)
        verify(item(panel, "longEdgeMenu").visible)
        verify(!item(panel, "presetMenu").visible)
        item(panel, "presetToggle").toggled(true)
        verify(batch.usePreset)
        item(panel, "presetMenu").selected("Amazon main image")
        compare(batch.preset, "Amazon main image")
        compare(item(panel, "presetSummary").text, "Exports JPG at 2000 px long edge. A smaller picture is not enlarged.")
        verify(!item(panel, "formatMenu").visible)
        verify(!item(panel, "longEdgeMenu").visible)
        compare(item(panel, "presetMenu").options.length, 11)
    }

    // A long edge the menu does not offer (Settings' 1200) is shown as it is,
    // and stays until the user picks another size.
    function test_theLongEdgeMenuShowsTheSizeInUse() {
        const panel = makePanel()
        const menu = item(panel, "longEdgeMenu")
        batch.longEdge = 1200
        compare(menu.selection, "1200 px")
        compare(menu.options, ["1080 px", "1200 px", "1500 px", "2000 px", "2400 px", "3000 px", "4000 px"])
        compare(batch.longEdge, 1200)
        menu.selected("3000 px")
        compare(batch.longEdge, 3000)
        compare(menu.options.length, 6)
        menu.selected("1080 px")
        compare(batch.longEdge, 1080)
        item(panel, "formatMenu").selected("WebP")
        compare(batch.format, "WebP")
        compare(item(panel, "formatMenu").options, ["PNG", "JPG", "WebP", "HEIC", "SVG"])
    }

    function test_exportAllAsksForAFolderAndSaysWhatWentWrong() {
        const panel = makePanel()
        queue(["a.png"])
        batch.start(Editor)
        Driver.settle()
        mouseClick(item(panel, "exportAllButton"))
        verify(batch.showFolderChooser)   // the window's folder dialog
        batch.showFolderChooser = false
        verify(!item(panel, "batchError").visible)

        batch.saveAll(Driver.fileInFolder("no-such-folder"))
        verify(!item(panel, "exportAllButton").enabled)  // saving
        Driver.settle()
        const error = item(panel, "batchError")
        verify(error.visible)
        compare(error.text, "Nothing was exported. Couldn't write a-cutout.png: the folder doesn't exist.")
        verify(item(panel, "exportAllButton").enabled)
    }

    // Output changed after a run: the panel says what Export All would write
    // and offers to run again, which makes the results anew.
    function test_changedOutputIsToldAndRunAgainRemakesTheResults() {
        const panel = makePanel()
        queue(["a.png"])
        batch.start(Editor)
        Driver.settle()
        const changed = item(panel, "outputChanged")
        verify(!changed.visible)
        item(panel, "formatMenu").selected("JPG")
        verify(changed.visible)
        compare(item(panel, "outputNote").text,
                "The results were made with PNG at 2400 px; Output is now JPG at 2400 px. "
                + "Run Again to remake them, or Export All to save them as made.")
        compare(item(panel, "exportAllButton").text, "Export All (1)")
        waitForRendering(panel)
        mouseClick(item(panel, "runAgainButton"))
        verify(batch.isRunning)
        verify(!changed.visible)   // nothing is done until the new result is in
        verify(!item(panel, "exportAllButton").visible)
        Driver.settle()
        compare(item(panel, "exportAllButton").text, "Export All (1)")
        verify(!changed.visible)
    }

    function test_filesNotAddedAreNamed() {
        const panel = makePanel()
        queue(["a.png"])
        const note = item(panel, "addNote")
        verify(!note.visible)
        queue(["a.png"])
        verify(note.visible)
        compare(note.text, "“a.png” is already in the queue.")
        queue(["b.png"])
        verify(!note.visible)
    }

    function test_addImagesOpensTheImporterAndClearAllEmptiesTheQueue() {
        const panel = makePanel()
        mouseClick(item(panel, "addImagesButton"))
        verify(batch.showImporter)   // the window's many-file dialog
        batch.showImporter = false

        queue(["a.png", "b.png"])
        mouseClick(item(panel, "clearAllButton"))
        compare(batch.total, 0)
        verify(!item(panel, "clearAllButton").visible)
        verify(!item(panel, "runBatchButton").enabled)
    }
}
