import QtQuick
import QtTest
import Zephrin.Controls

TestCase {
    id: testCase
    name: "ZPChoices"
    width: 400
    height: 300
    visible: true
    when: windowShown

    Component {
        id: chipComponent
        ZPChipRow { width: 300; options: ["Original", "1:1", "4:3"] }
    }
    Component {
        id: menuComponent
        ZPMenuRow { width: 300; label: "Aspect"; options: ["Original", "1:1"] }
    }

    SignalSpy { id: selectedSpy; signalName: "selected" }

    function test_aChipAsksForItsOption() {
        const row = createTemporaryObject(chipComponent, testCase, { selection: "Original" })
        selectedSpy.target = row
        selectedSpy.clear()
        mouseClick(findChild(row, "chip:4:3"))
        compare(selectedSpy.count, 1)
        compare(selectedSpy.signalArguments[0][0], "4:3")
        compare(row.selection, "Original")
    }

    function test_onlyTheSelectionIsHighlighted() {
        const row = createTemporaryObject(chipComponent, testCase, { selection: "1:1" })
        verify(findChild(row, "chip:1:1").isSelection)
        verify(!findChild(row, "chip:Original").isSelection)
        row.selection = "16:9"
        for (const option of row.options)
            verify(!findChild(row, "chip:" + option).isSelection)
    }

    function test_chipsShareTheRowEqually() {
        const row = createTemporaryObject(chipComponent, testCase, { options: ["A", "A much longer title"] })
        waitForRendering(row)
        fuzzyCompare(findChild(row, "chip:A").width, findChild(row, "chip:A much longer title").width, 1)
    }

    // A title longer than an equal share takes the room a short one spares,
    // so "Transparent" is read in full beside "Color"; where nothing is spare
    // the text shrinks only to the caption size.
    function test_aLongTitleTakesTheRoomAShortOneSpares() {
        const row = createTemporaryObject(chipComponent, testCase,
                                          { width: 278, options: ["Transparent", "Color", "Original", "Image"] })
        waitForRendering(row)
        const lengthy = findChild(row, "chip:Transparent")
        const brief = findChild(row, "chip:Color")
        verify(lengthy.width > brief.width)
        verify(!lengthy.contentItem.truncated)
        compare(lengthy.contentItem.fontInfo.pixelSize, Theme.buttonFont.pixelSize)
        const last = findChild(row, "chip:Image")
        fuzzyCompare(last.x + last.width, 278, 0.5)

        row.width = 120
        waitForRendering(row)
        verify(lengthy.contentItem.fontInfo.pixelSize >= Theme.captionFont.pixelSize)
    }

    function test_menuShowsAnySelectionButListsOnlyTheOptions() {
        const row = createTemporaryObject(menuComponent, testCase, { selection: "16:9" })
        selectedSpy.target = row
        selectedSpy.clear()
        const button = findChild(row, "menuButton")
        compare(button.Accessible.description, "16:9")
        mouseClick(button)
        const menu = findChild(row, "menu")
        tryCompare(menu, "opened", true)
        compare(menu.count, 2)
        menu.itemAt(1).triggered()
        compare(selectedSpy.count, 1)
        compare(selectedSpy.signalArguments[0][0], "1:1")
    }
}
