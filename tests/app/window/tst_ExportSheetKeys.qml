import QtQuick
import QtTest
import Zephrin.Model
import Zephrin.Shell
import Zephrin.TestSupport

// The export sheet from the keyboard alone: Ctrl+E opens it, Tab walks its
// controls and each shows its focus, Space presses only the one that shows
// it, Return exports, Escape closes.
WindowHarness {
    name: "ExportSheetKeys"

    function cleanup() {
        Editor.showExportSheet = false
        Editor.showFileExporter = false
        Editor.exportFormat = "PNG"
        Editor.lastError = ""
        Editor.clearDocument()
        Driver.settle()
    }

    function within(item, root) {
        for (let p = item; p; p = p.parent)
            if (p === root)
                return true
        return false
    }

    function openSheet(window) {
        Driver.openPicture(120, 80)
        Editor.exportFormat = "WebP"
        const sheet = item(window, "exportSheet")
        keyClick(Qt.Key_E, Qt.ControlModifier)
        tryCompare(sheet, "opened", true)
        return sheet
    }

    function test_tabShowsWhereTheKeysGoAndSpacePressesOnlyThat() {
        const window = openWindow()
        const sheet = openSheet(window)
        // Nothing shows the focus yet, so nothing takes Space.
        keyClick(Qt.Key_Space)
        compare(Editor.exportFormat, "WebP")
        verify(Editor.showExportSheet)

        const visited = []
        for (let i = 0; i < 14; ++i) {
            keyClick(Qt.Key_Tab)
            const focus = window.activeFocusItem
            verify(within(focus, sheet.contentItem), "the focus left the sheet: " + focus)
            const ring = findChild(focus, "focusRing")
            verify(ring && ring.visible, "no focus shown on " + focus + " " + focus.objectName)
            if (focus.objectName === "chip:PNG")
                break
            visited.push(focus.objectName)
        }
        compare(window.activeFocusItem.objectName, "chip:PNG")
        verify(visited.includes("closeExportSheet"), visited)
        keyClick(Qt.Key_Space)
        compare(Editor.exportFormat, "PNG")
        verify(window.activeFocusItem.objectName === "chip:PNG")
    }

    function test_returnPressesExportWhereverTheFocusIs() {
        const window = openWindow()
        const sheet = item(window, "exportSheet")
        // Nothing to export yet: Return does nothing.
        Editor.showExportSheet = true
        tryCompare(sheet, "opened", true)
        keyClick(Qt.Key_Return)
        Driver.settle()
        verify(!Editor.showFileExporter)
        keyClick(Qt.Key_Escape)
        tryCompare(sheet, "visible", false)

        openSheet(window)
        keyClick(Qt.Key_Return)
        Driver.settle()
        verify(Editor.showFileExporter)
        verify(Editor.showExportSheet)
        compare(Editor.exportFormat, "WebP")
        Commands.exporterClosed("")
        verify(!Editor.showFileExporter)

        // From a control too, and with the keypad's Enter.
        keyClick(Qt.Key_Tab)
        keyClick(Qt.Key_Tab)
        verify(within(window.activeFocusItem, sheet.contentItem))
        keyClick(Qt.Key_Enter, Qt.KeypadModifier)
        Driver.settle()
        verify(Editor.showFileExporter)
        Commands.exporterClosed("")

        keyClick(Qt.Key_Escape)
        tryCompare(sheet, "visible", false)
        verify(!Editor.showExportSheet)
    }
}
