import QtQuick
import QtTest
import Zephrin.Inspector
import Zephrin.Model
import Zephrin.Shell
import Zephrin.TestSupport

TestCase {
    id: testCase
    name: "InspectorView"
    when: windowShown
    visible: true
    width: 310
    height: 500

    Component {
        id: inspectorComponent
        InspectorView {
            width: 310
            height: 500
        }
    }

    function cleanup() {
        Editor.pendingSelection = undefined
        Editor.liveStroke = []
        Editor.selectionKind = "Rectangle"
        Editor.canvasTool = "View"
        Editor.clearDocument()
        Driver.settle()
        Editor.tool = "cutout"
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

    // The shown items that the panel's layouts place past its right edge
    // (shadows and other decorations may reach beyond their items).
    function overflowing(panel) {
        const found = []
        const walk = (item, path) => {
            if (!item.visible)
                return
            const right = item.mapToItem(panel, item.width, 0).x
            const laidOut = item !== panel && /Layout/.test(String(item.parent))
            if (laidOut && right > panel.width + 0.5)
                found.push(path + (item.objectName || "?") + " to " + right.toFixed(1))
            for (let i = 0; i < item.children.length; ++i)
                walk(item.children[i], path + (item.objectName || "?") + "/")
        }
        walk(panel, "")
        return found
    }

    // An outline in progress, then closed, in both panels that place one:
    // the progress row (its count, Close outline, Cancel) fits the column,
    // and nothing is left wider afterwards.
    function test_anOutlineKeepsThePanelInItsColumn_data() {
        return [{ tag: "hand refine", tool: "cutout" }, { tag: "paint", tool: "adjust" }]
    }
    function test_anOutlineKeepsThePanelInItsColumn(data) {
        const inspector = createTemporaryObject(inspectorComponent, testCase)
        Driver.openPicture(400, 300)
        Editor.tool = data.tool
        Editor.canvasTool = "Select"
        Editor.selectionKind = "Outline"
        const panel = child(inspector, "inspectorPanel").item
        const corners = []
        for (let i = 0; i < 12; ++i)
            corners.push(Qt.point(200 + 150 * Math.cos(i / 2), 150 + 120 * Math.sin(i / 2)))
        Editor.liveStroke = corners
        const progress = child(panel, "outlineProgress")
        verify(progress.visible)
        settle(progress)
        compare(child(progress, "outlineCorners").text, "12 corners placed")
        compare(overflowing(panel), [])

        Editor.closePolygon()
        verify(Editor.pendingSelection !== undefined)
        settle(child(panel, "selectionStatus"))
        compare(overflowing(panel), [])
    }

    function test_oneFreshPanelPerTool() {
        const inspector = createTemporaryObject(inspectorComponent, testCase)
        const loader = child(inspector, "inspectorPanel")
        verify(findChild(loader.item, "methodChips"), "the cutout panel first")
        let previous = loader.item
        for (const tool of ["background", "effects", "adjust", "text", "resize", "sheet", "cutout"]) {
            Editor.tool = tool
            verify(loader.item !== null && loader.item !== previous, tool)
            previous = loader.item
        }
        verify(findChild(loader.item, "methodChips"))
    }

    function test_theFooterStaysBelowAScrollingPanel() {
        const inspector = createTemporaryObject(inspectorComponent, testCase)
        const footer = child(inspector, "inspectorExport")
        verify(!footer.visible)
        const scroll = child(inspector, "inspectorScroll")
        compare(scroll.height, 500)

        inspector.showsFooterExport = true
        settle(footer)
        verify(footer.visible)
        compare(footer.height, 44)
        // The cutout panel is taller than the column: it scrolls, the button stays.
        verify(scroll.contentHeight > scroll.height)
        const bottom = footer.mapToItem(inspector, 0, footer.height).y
        compare(bottom, 500 - 16)
        const flickable = scroll.contentItem
        flickable.contentY = 300
        settle(footer)
        compare(footer.mapToItem(inspector, 0, footer.height).y, bottom)

        // Another tool's panel opens at its top, and so does this one again.
        Editor.tool = "sheet"
        compare(flickable.contentY, 0)
        Editor.tool = "cutout"
        flickable.contentY = 200
        Editor.tool = "adjust"
        compare(flickable.contentY, 0)
    }
}
