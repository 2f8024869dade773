import QtQuick
import QtTest
import Zephrin.Model
import Zephrin.Shell

WindowHarness {
    name: "Menus"

    function test_withoutADocumentOnlyImportAndTheViewWork() {
        const window = openWindow()
        for (const name of ["export", "share", "clearImage", "copyResult", "runCutout", "resetToPlainCutout",
                            "toggleCompare", "undo", "redo"])
            verify(!action(window, name).enabled, name)
        for (const name of ["importImage", "copy", "zoomIn", "zoomOut", "actualSize", "zoomToFit"])
            verify(action(window, name).enabled, name)
    }

    function test_shortcutsUseCtrl() {
        const window = openWindow()
        compare(action(window, "importImage").shortcut, "Ctrl+O")
        compare(action(window, "export").shortcut, "Ctrl+E")
        compare(action(window, "runCutout").shortcut, "Ctrl+Shift+A")
        compare(action(window, "redo").shortcut, "Ctrl+Shift+Z")
        compare(action(window, "toggleCompare").shortcut, "Ctrl+\\")
    }

    function test_zoomItemsStepAndReset() {
        const window = openWindow()
        Editor.zoom = 0.3
        action(window, "zoomIn").trigger()
        compare(Editor.zoom, 0.5)
        Editor.zoom = 8
        action(window, "zoomOut").trigger()
        compare(Editor.zoom, 4)
        Editor.zoom = 1
    }

    function test_keysReachTheCommands() {
        const window = openWindow()
        Editor.zoom = 1
        keyClick(Qt.Key_Plus, Qt.ControlModifier)
        compare(Editor.zoom, 1.5)
        keyClick(Qt.Key_Minus, Qt.ControlModifier)
        compare(Editor.zoom, 1)
        keyClick(Qt.Key_O, Qt.ControlModifier)
        verify(Editor.showImporter)
        Commands.importerClosed("")
    }

    function test_compareItemTitleFollowsTheEditor() {
        const window = openWindow()
        compare(action(window, "toggleCompare").text, "Show Compare")
        Editor.compareEnabled = true
        compare(action(window, "toggleCompare").text, "Hide Compare")
        Editor.compareEnabled = false
    }
}
