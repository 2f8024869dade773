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
