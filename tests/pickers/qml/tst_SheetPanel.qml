import QtQuick
import QtTest
import Zephrin.Model
import Zephrin.Pickers
import Zephrin.TestSupport

TestCase {
    id: test
    name: "SheetPanel"
    when: windowShown
    width: 360
    height: 1400
    visible: true

    Component {
        id: panelComponent
        SheetPanel { width: 340 }
    }

    function init() {
        Editor.clearStickerSheet()
        Editor.clearDocument()
        Editor.setSheetSetting("region", "Cricut Print then Cut")
        Editor.setSheetSetting("paper", "4 × 6 in")
        Driver.settle()
    }

    function openPanel() {
        const panel = createTemporaryObject(panelComponent, test)
        verify(panel)
        return panel
    }

    function part(panel, name) {
        const found = findChild(panel, name)
        verify(found, name)
        return found
    }

    function firstRow(panel) {
        const children = part(panel, "sheetList").children
        for (let i = 0; i < children.length; ++i)
            if (children[i].objectName.startsWith("stickerRow:")) {
                // Laid out on the next frame.
                tryVerify(() => children[i].width > 0)
                return children[i]
            }
        fail("no sticker row")
    }

    // Runs the editor's work, then lets the panel lay itself out anew.
    function settle() {
        Driver.settle()
        waitForRendering(test)
    }

    function addDesign(panel) {
        Driver.openPicture(120, 80)
        mouseClick(part(panel, "sheetAdd"))
    }

    function test_anEmptySheetShowsOnlyItsSettings() {
        const panel = openPanel()
        verify(part(panel, "sheetNoItems").visible)
        for (const name of ["sheetHint", "sheetClear", "sheetRepack", "sheetStatus", "sheetList"])
            verify(!part(panel, name).visible, name)
        verify(!part(panel, "sheetAdd").enabled)
        verify(part(panel, "sheetPaper").visible)
        verify(!part(panel, "sheetExportPNG").enabled)
        compare(part(panel, "sheetExportPNG").height, 44)
        const svg = part(panel, "sheetExportSVG")
        verify(!svg.enabled)
        compare(svg.opacity, 0.5)
    }

    function test_exportsFollowTheLayoutThatStands() {
        const panel = openPanel()
        addDesign(panel)
        compare(Editor.tool, "sheet")
        // The first layout is still waiting: list, hint and Clear; no status, no exports.
        verify(!part(panel, "sheetNoItems").visible)
        verify(part(panel, "sheetHint").visible)
        verify(part(panel, "sheetClear").visible)
        verify(!part(panel, "sheetStatus").visible)
        verify(!part(panel, "sheetExportPNG").enabled)
        verify(!part(panel, "sheetExportSVG").enabled)

        Driver.settle()
        verify(part(panel, "sheetStatus").visible)
        compare(part(panel, "sheetStatusText").text, "1 sticker placed")
        compare(part(panel, "sheetStatusSymbol").symbol, "checkmark.circle")
        verify(part(panel, "sheetExportPNG").enabled)
        verify(part(panel, "sheetExportSVG").enabled)
        compare(part(panel, "sheetExportSVG").opacity, 1)

        // A change waits to be laid out: the old render is not exported.
        Editor.setSheetSetting("spacingInches", 0.2)
        verify(!part(panel, "sheetExportPNG").enabled)
        verify(!part(panel, "sheetExportSVG").enabled)
        Driver.settle()

        // Other work running: the print image waits, the cut file does not.
        Editor.runAutoSubject()
        verify(Editor.isProcessing)
        verify(!part(panel, "sheetExportPNG").enabled)
        verify(part(panel, "sheetExportSVG").enabled)
        Driver.settle()

        mouseClick(part(panel, "sheetExportSVG"))
        compare(Editor.exportFile.name, "sticker-sheet-cut")
        verify(Editor.showFileExporter)
        Editor.showFileExporter = false
    }

    function test_statusWarnsWhenCopiesDoNotFit() {
        const panel = openPanel()
        addDesign(panel)
        Driver.settle()
        const row = firstRow(panel)
        const more = findChild(row, "stickerMore")
        const fewer = findChild(row, "stickerFewer")
        verify(!fewer.enabled)
        mouseClick(more)
        compare(findChild(row, "stickerCount").text, "2")
        compare(Editor.sheetItemList.count, 1)
        verify(fewer.enabled)

        mouseClick(more)
        // Three copies 3 in wide: a 4 × 6 sheet holds two.
        const field = findChild(row, "stickerWidth")
        field.forceActiveFocus()
        field.selectAll()
        keyClick(Qt.Key_3)
        keyClick(Qt.Key_Return)
        Driver.settle()
        compare(findChild(row, "stickerWidth").text, "3")
        compare(part(panel, "sheetStatusText").text, "2 placed, 1 didn't fit — reduce size or count")
        compare(part(panel, "sheetStatusSymbol").symbol, "exclamationmark.triangle")

        // Text that is no number leaves the width alone.
        field.forceActiveFocus()
        field.selectAll()
        keyClick(Qt.Key_X)
        keyClick(Qt.Key_Return)
        compare(field.text, "3")
    }

    // A sheet that places nothing has nothing to print: both exports are off,
    // and the panel says why beside them.
    function test_aSheetThatPlacesNothingSaysWhyItIsNotExported() {
        const panel = openPanel()
        addDesign(panel)
        settle()
        const refusal = part(panel, "sheetExportRefusal")
        verify(!refusal.visible)

        // Nine inches wide on a 4 × 6 in sheet.
        const field = findChild(firstRow(panel), "stickerWidth")
        field.forceActiveFocus()
        field.selectAll()
        keyClick(Qt.Key_9)
        keyClick(Qt.Key_Return)
        settle()
        compare(part(panel, "sheetStatusText").text, "0 placed, 1 didn't fit — reduce size or count")
        verify(refusal.visible)
        compare(refusal.text, "No sticker fits on the sheet, so there is nothing to export — reduce size or count.")
        verify(!part(panel, "sheetExportPNG").enabled)
        verify(!part(panel, "sheetExportSVG").enabled)
    }

    function test_textsFollowTheSettings() {
        const panel = openPanel()
        // The cutter's usable area on the paper chosen (4 × 6 in here).
        compare(part(panel, "sheetRegionNote").text, "3.5 × 5.5 in usable area, centered (Explore / Maker).")
        Editor.setSheetSetting("paper", "US Letter")
        compare(part(panel, "sheetRegionNote").text, "6.75 × 9.25 in usable area, centered (Explore / Maker).")
        Editor.setSheetSetting("paper", "4 × 6 in")
        Editor.setSheetSetting("region", "Printer margins")
        compare(part(panel, "sheetRegionNote").text, "Full sheet with ¼ in margin, no cutter constraints.")
        verify(part(panel, "sheetExportNote").text.startsWith("300 DPI, transparent outside stickers."))
        Editor.setSheetSetting("borderInches", 0)
        compare(findChild(part(panel, "sheetBorder"), "valueText").text, "None")
        Editor.setSheetSetting("borderInches", 0.12)
        compare(findChild(part(panel, "sheetBorder"), "valueText").text, "0.12 in")
        Editor.setSheetSetting("bleedInches", 0.005)
        compare(findChild(part(panel, "sheetBleed"), "valueText").text, "0.005 in")
        Editor.setSheetSetting("spacingInches", 0.03)
        compare(findChild(part(panel, "sheetSpacing"), "valueText").text, "0.03 in")
    }

    function test_repackRemovesEveryPinAndTheNotice() {
        const panel = openPanel()
        addDesign(panel)
        settle()
        verify(!part(panel, "sheetRepack").visible)
        const placement = Editor.sheetLayout.placements[0]
        verify(Editor.moveStickerPin(placement.key, Qt.point(placement.x + 0.1, placement.y)))
        settle()
        verify(part(panel, "sheetRepack").visible)
        Editor.sheetNotice = "That spot is too close to another sticker — try a little further away."
        verify(part(panel, "sheetNotice").visible)

        mouseClick(part(panel, "sheetRepack"))
        compare(Object.keys(Editor.sheetPins).length, 0)
        compare(Editor.sheetNotice, "")
        verify(!part(panel, "sheetRepack").visible)

        mouseClick(findChild(firstRow(panel), "stickerRemove"))
        verify(part(panel, "sheetNoItems").visible)
        verify(!Editor.sheetRender)
    }
}
