import QtQuick
import QtTest
import Zephrin.Inspector
import Zephrin.Model
import Zephrin.TestSupport

PanelCase {
    id: testCase
    name: "EffectsPanel"

    Component { id: panelComponent; EffectsPanel { width: 278 } }

    function makePanel() { return createTemporaryObject(panelComponent, testCase) }
    function toggle(panel, name) { return child(child(panel, name), "toggle") }

    function test_eachSwitchUnlocksItsGroupAndKeepsItsValues() {
        const panel = makePanel()
        openWithCutout()
        const shadow = child(panel, "shadowGroup")
        const outline = child(panel, "outlineGroup")
        verify(!shadow.enabled && !outline.enabled)
        compare(shadow.opacity, 0.4)
        compare(outline.opacity, 0.4)
        pressSliderEnd(panel, "shadowOpacityRow", true)
        compare(Editor.comp.shadowOpacity, 45)

        // The first switch-on shows the starting shadow.
        mouseClick(child(toggle(panel, "shadowToggle"), "switch"))
        verify(Editor.comp.shadowEnabled)
        verify(shadow.enabled)
        compare(shadow.opacity, 1)
        compare([valueText(panel, "shadowOpacityRow"), valueText(panel, "shadowBlurRow"),
                 valueText(panel, "shadowOffsetXRow"), valueText(panel, "shadowOffsetYRow")],
                ["45%", "18 px", "0 px", "14 px"])
        verify(!outline.enabled)

        Editor.setComp("shadowOpacity", 0)
        compare(valueText(panel, "shadowOpacityRow"), "0%")   // no "Off" here
        Editor.setComp("shadowEnabled", false)
        Editor.setComp("shadowEnabled", true)
        compare(Editor.comp.shadowOpacity, 0)

        Editor.setComp("outlineEnabled", true)
        verify(outline.enabled)
        compare(valueText(panel, "outlineWidthRow"), "12 px")
    }

    function test_offsetsGoNegativeAndTheWidthStaysAtLeastOne() {
        const panel = makePanel()
        openWithCutout()
        Editor.setComp("shadowEnabled", true)
        Editor.setComp("outlineEnabled", true)
        Editor.setComp("shadowOffsetX", -12)
        compare(valueText(panel, "shadowOffsetXRow"), "-12 px")
        pressSliderEnd(panel, "shadowOffsetYRow", false)
        compare(Editor.comp.shadowOffsetY, -80)
        compare(valueText(panel, "shadowOffsetYRow"), "-80 px")
        pressSliderEnd(panel, "outlineWidthRow", false)
        compare(Editor.comp.outlineWidth, 1)
        compare(valueText(panel, "outlineWidthRow"), "1 px")
    }

    function test_notesAndDimmingWithoutACutout() {
        const panel = makePanel()
        openWithoutCutout()
        const note = child(child(panel, "outlineToggle"), "note")
        verify(note.visible)
        compare(note.text, "Sticker-style stroke around the subject")
        verify(!child(child(panel, "shadowToggle"), "note").visible)

        // The two dimming rules multiply; nothing reacts.
        compare(drawnOpacity(child(panel, "shadowGroup"), panel), 0.6 * 0.4)
        mouseClick(child(toggle(panel, "shadowToggle"), "switch"))
        verify(!Editor.comp.shadowEnabled)
        Editor.setComp("shadowEnabled", true)
        pressSliderEnd(panel, "shadowBlurRow", true)
        compare(Editor.comp.shadowBlur, 18)
        compare(drawnOpacity(child(panel, "shadowGroup"), panel), 0.6)
    }
}
