import QtQuick
import QtTest
import Zephrin.Model
import Zephrin.Shell

WindowHarness {
    name: "Sidebar"

    SignalSpy { id: toolSpy; target: Editor; signalName: "toolChanged" }
    SignalSpy { id: batchSpy; target: Editor; signalName: "batchModeChanged" }

    function init() {
        Editor.batchMode = false
        Editor.tool = "cutout"
        toolSpy.clear()
        batchSpy.clear()
    }

    function selectedRows(window) {
        const names = []
        for (const tool of ["cutout", "background", "effects", "adjust", "text", "resize", "sheet", "batch", "settings"])
            if (item(window, "sidebar:" + tool).isSelected)
                names.push(tool)
        return names
    }

    function test_aFreshWindowSelectsCutout() {
        const window = openWindow()
        compare(selectedRows(window), ["cutout"])
    }

    function test_batchSelectsOnlyItselfAndKeepsTheTool() {
        const window = openWindow()
        mouseClick(item(window, "sidebar:batch"))
        verify(Editor.batchMode)
        compare(Editor.tool, "cutout")
        compare(selectedRows(window), ["batch"])
        verify(item(window, "batchGridSlot").visible)
        verify(!item(window, "canvasSlot").visible)
        tryCompare(item(window, "batchPanelSlot"), "width", 310)
    }

    function test_theSelectedRowAgainChangesNothing() {
        const window = openWindow()
        mouseClick(item(window, "sidebar:cutout"))
        compare(toolSpy.count, 0)
        compare(batchSpy.count, 0)
    }

    function test_aToolRowLeavesBatchMode() {
        const window = openWindow()
        Editor.batchMode = true
        mouseClick(item(window, "sidebar:cutout"))
        verify(!Editor.batchMode)
        compare(selectedRows(window), ["cutout"])
        mouseClick(item(window, "sidebar:text"))
        compare(Editor.tool, "text")
        // The inspector now shows the text panel, with its seven colours.
        compare(item(window, "inspectorPanel").item.swatches.length, 7)
    }

    function test_settingsOpensTheSettingsWindowOnly() {
        const window = openWindow()
        verify(!window.settingsWindow || !window.settingsWindow.visible)
        mouseClick(item(window, "sidebar:settings"))
        const settings = window.settingsWindow
        tryVerify(() => settings && settings.visible)
        compare(toolSpy.count, 0)
        compare(batchSpy.count, 0)
        verify(!item(window, "sidebar:settings").isSelected)
        settings.close()
    }

    function test_workspaceSharesTheWidthAtTheSmallestWindow() {
        const window = openWindow()
        window.width = 1180
        window.height = window.minimumHeight
        waitForRendering(window.contentItem)
        compare(item(window, "inspectorSlot").width, 310)
        compare(item(window, "canvasSlot").width, 1180 - 184 - 16 - 16 - 16 - 310)
        // The smallest window fits a 1366 × 768 screen with a panel.
        verify(window.minimumHeight <= 680)
        compare(item(window, "workspace").height, 600 - 64 - 38 - 32)
        // The inspector scrolls what does not fit.
        const scroll = item(window, "inspectorScroll")
        verify(scroll.contentHeight > scroll.height)
        verify(item(window, "sidebar:settings").mapToItem(window.contentItem, 0, 0).y + 44
               <= window.contentItem.height)
    }
}
