import QtQuick
import QtQuick.Controls.Basic
import QtTest
import Zephrin.Model
import Zephrin.Shell
import Zephrin.TestSupport

WindowHarness {
    name: "Menus"

    function cleanup() {
        Editor.clearDocument()
        Driver.settle()
    }

    function test_withoutADocumentOnlyImportAndTheViewWork() {
        const window = openWindow()
        for (const name of ["export", "share", "clearImage", "copyResult", "runCutout", "resetToPlainCutout",
                            "toggleCompare", "undo", "redo"])
            verify(!action(window, name).enabled, name)
        for (const name of ["importImage", "copy", "zoomIn", "zoomOut", "actualSize", "zoomToFit"])
            verify(action(window, name).enabled, name)
    }

    // Batch mode shows no canvas: the View menu cannot be opened, and its
    // keys change no zoom behind the grid.
    function test_batchModeTakesTheViewMenuAway() {
        const window = openWindow()
        const view = menuEntry(window, "zoomIn")
        verify(view.barItem.enabled)
        Editor.batchMode = true
        for (const name of ["zoomIn", "zoomOut", "actualSize", "zoomToFit", "toggleCompare"])
            verify(!action(window, name).enabled, name)
        verify(!view.barItem.enabled)
        Editor.zoom = 1
        keyClick(Qt.Key_Plus, Qt.ControlModifier)
        compare(Editor.zoom, 1)
        mouseClick(view.barItem)
        verify(!view.menu.opened)
        Editor.batchMode = false
        verify(view.barItem.enabled)
        verify(action(window, "zoomIn").enabled)
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

    // A long title and its key stand side by side.
    function test_titleAndKeyDoNotOverlap() {
        const window = openWindow()
        const found = menuEntry(window, "resetToPlainCutout")
        mouseClick(found.barItem)
        tryVerify(() => found.menu.opened)
        waitForItemPolished(found.entry.contentItem)
        const title = found.entry.contentItem.children[0]
        const key = found.entry.contentItem.children[1]
        compare(title.text, "Reset to Plain Cutout")
        compare(key.text, "Ctrl+Shift+R")
        verify(title.x + title.implicitWidth < key.x, title.x + title.implicitWidth + " over " + key.x)
        verify(key.x + key.width <= found.entry.contentItem.width + 0.5)
        found.menu.close()
    }

    Component { id: fieldComponent; TextField { width: 200 } }

    // Chosen with the mouse, the text commands act on the field that had the
    // focus when the menu opened (the open menu holds the focus meanwhile),
    // and Copy copies its text rather than the result.
    function test_textCommandsChosenWithTheMouseReachTheFocusedField() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        const field = createTemporaryObject(fieldComponent, window.contentItem, { x: 400, y: 300, text: "hello world" })
        field.forceActiveFocus()
        field.select(0, 5)

        Driver.settle()
        chooseWithTheMouse(window, "copy")
        compare(Editor.notice, "")   // the result was not copied
        field.forceActiveFocus()
        field.select(6, 11)
        chooseWithTheMouse(window, "paste")
        compare(field.text, "hello hello")
        field.forceActiveFocus()
        chooseWithTheMouse(window, "selectAll")
        compare(field.selectedText, "hello hello")
        chooseWithTheMouse(window, "cut")
        compare(field.text, "")

        // Without a text field in focus, Copy copies the result.
        field.focus = false
        verify(!field.activeFocus)
        chooseWithTheMouse(window, "copy")
        compare(Editor.notice, "Copied")
    }

    // Escape closes a menu and leaves the bar: the pointer passing over the
    // other titles opens nothing, the next click on one opens its menu, and
    // the focus is back where it was, wherever the pointer was when Escape
    // was pressed.
    function test_afterEscapeTheNextClickOnATitleOpensItsMenu() {
        const window = openWindow()
        const field = createTemporaryObject(fieldComponent, window.contentItem, { x: 400, y: 300 })
        const bar = window.menuBar
        const file = bar.itemAt(0)
        const edit = bar.itemAt(1)
        // The offscreen platform turns hover off; the desktop's has it.
        for (let i = 0; i < bar.count; ++i)
            bar.itemAt(i).hoverEnabled = true
        for (const pointerOnTitle of [true, false]) {
            field.forceActiveFocus()
            mouseMove(file)
            mouseClick(file)
            tryVerify(() => bar.menuAt(0).opened)
            if (!pointerOnTitle)
                mouseMove(window.contentItem, 640, 400)
            keyClick(Qt.Key_Escape)
            tryVerify(() => !bar.menuAt(0).visible)
            tryVerify(() => field.activeFocus, Driver.patience, "the focus did not come back")
            mouseMove(edit)
            wait(50)
            verify(!bar.menuAt(1).visible, "hovering a title after Escape opened its menu")
            mouseClick(edit)
            tryVerify(() => bar.menuAt(1).opened, Driver.patience, "the click after Escape did not open the menu")
            keyClick(Qt.Key_Escape)
            tryVerify(() => !bar.menuAt(1).visible)
            mouseMove(window.contentItem, 640, 400)
        }
    }

    function test_compareItemTitleFollowsTheEditor() {
        const window = openWindow()
        compare(action(window, "toggleCompare").text, "Show Compare")
        Editor.compareEnabled = true
        compare(action(window, "toggleCompare").text, "Hide Compare")
        Editor.compareEnabled = false
    }
}
