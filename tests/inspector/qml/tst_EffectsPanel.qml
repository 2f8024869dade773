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

    // Every change in the panel can be undone and redone: a switch is one
    // step, a slider's drag (many moves) one more.
    function test_aSwitchAndASliderDragAreOneStepEach() {
        const panel = makePanel()
        openWithCutout()
        const steps = Editor.undoStack
        mouseClick(child(toggle(panel, "shadowToggle"), "switch"))
        compare(Editor.undoStack, steps + 1)

        const slider = child(child(panel, "shadowBlurRow"), "slider")
        const y = slider.height / 2
        mousePress(slider, slider.width / 2, y)
        for (let x = slider.width / 2; x <= slider.width; x += 20)
            mouseMove(slider, x, y)
        mouseRelease(slider, slider.width, y)
        const blur = Editor.comp.shadowBlur
        verify(blur > 18)
        compare(Editor.undoStack, steps + 2)

        Editor.undo()
        compare(Editor.comp.shadowBlur, 18)
        verify(Editor.comp.shadowEnabled)
        Editor.undo()
        verify(!Editor.comp.shadowEnabled)
        Editor.redo()
        Editor.redo()
        compare(Editor.comp.shadowBlur, blur)
        compare(Editor.redoStack, 0)
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
