import QtQuick
import QtTest
import Zephrin.Model
import Zephrin.Shell
import Zephrin.TestSupport

// The export split button in sheet mode reaches the editor's sheet exports,
// and only while the sheet's render is the layout as it stands.
WindowHarness {
    name: "StickerSheetExport"

    function cleanup() {
        Editor.clearStickerSheet()
        Editor.showFileExporter = false
        Editor.tool = "cutout"
        Editor.clearDocument()
        Driver.settle()
    }

    function test_exportButtonHandsOverTheSheet() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        Editor.addToStickerSheet()
        compare(Editor.tool, "sheet")
        const button = item(window, "exportButton")
        verify(!button.enabled)  // the first layout is still waiting
        Driver.settle()
        verify(button.enabled)

        mouseClick(item(window, "exportMain"))
        compare(Editor.exportFile.name, "sticker-sheet")
        verify(Editor.showFileExporter)
        Editor.showFileExporter = false

        const menu = item(window, "exportSheetMenu")
        menu.itemAt(1).triggered()
        compare(Editor.exportFile.name, "sticker-sheet-cut")
        verify(Editor.showFileExporter)

        // A change waiting to be laid out withholds the old render.
        Editor.setSheetSetting("spacingInches", 0.3)
        verify(!button.enabled)
        Driver.settle()
        verify(button.enabled)
    }
}
