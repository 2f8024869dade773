import QtQuick
import QtTest
import Zephrin.Controls

TestCase {
    id: testCase
    name: "ZPSwitch"
    width: 300
    height: 200
    visible: true
    when: windowShown

    Component { id: toggleComponent; ZPToggle {} }
    Component { id: rowComponent; ZPToggleRow { width: 260; label: "Fill holes" } }

    SignalSpy { id: toggledSpy; signalName: "toggled" }

    function test_aClickAsksForTheOppositeAndLeavesTheValueToTheModel() {
        const toggle = createTemporaryObject(toggleComponent, testCase, { on: false })
        toggledSpy.target = toggle
        toggledSpy.clear()
        mouseClick(findChild(toggle, "switch"))
        compare(toggledSpy.count, 1)
        compare(toggledSpy.signalArguments[0][0], true)
        verify(!toggle.on)
    }

    function test_theKnobSlidesToTheOnEnd() {
        const toggle = createTemporaryObject(toggleComponent, testCase, { on: false })
        const knob = findChild(toggle, "knob")
        compare(knob.x, 2)
        toggle.on = true
        tryCompare(knob, "x", 18)
        compare(findChild(toggle, "switch").Accessible.description, "On")
    }

    function test_theCaptionKeepsItsWidthSoTheSwitchStays() {
        const toggle = createTemporaryObject(toggleComponent, testCase, { on: false })
        const switchItem = findChild(toggle, "switch")
        const caption = findChild(toggle, "caption")
        const offX = switchItem.x
        compare(caption.text, "Off")
        toggle.on = true
        compare(caption.text, "On")
        compare(caption.width, 24)
        compare(switchItem.x, offX)

        toggle.showsLabel = false
        verify(!caption.visible)
    }

    function test_rowShowsItsNoteOnlyWhenGiven() {
        const row = createTemporaryObject(rowComponent, testCase, {})
        verify(!findChild(row, "note").visible)
        row.note = "Closes gaps inside the subject"
        verify(findChild(row, "note").visible)
    }
}
