import QtQuick
import QtTest
import Zephrin.Inspector
import Zephrin.Model
import Zephrin.TestSupport

PanelCase {
    id: testCase
    name: "AdjustPanel"

    Component { id: panelComponent; AdjustPanel { width: 278 } }

    function makePanel() { return createTemporaryObject(panelComponent, testCase) }
    function target(panel, name) { mouseClick(child(child(panel, "adjustTargetChips"), "chip:" + name)) }
    function texts(panel) {
        return ["exposureRow", "contrastRow", "saturationRow", "warmthRow"].map((row) => valueText(panel, row))
    }

    function test_eachTargetEditsItsOwnSet() {
        const panel = makePanel()
        openWithCutout()
        Editor.setComp("backgroundMode", "Original")
        pressSliderEnd(panel, "exposureRow", true)
        compare(Editor.comp.subjectAdjust.exposure, 2)
        compare(texts(panel), ["+2.00 EV", "+0%", "+0%", "+0"])

        target(panel, "Background")
        compare(texts(panel), ["+0.00 EV", "+0%", "+0%", "+0"])
        pressSliderEnd(panel, "warmthRow", false)
        compare(Editor.comp.backgroundAdjust.warmth, -100)
        compare(Editor.comp.subjectAdjust.warmth, 0)
        compare(Editor.comp.backgroundAdjust.exposure, 0)

        target(panel, "Subject")
        compare(texts(panel), ["+2.00 EV", "+0%", "+0%", "+0"])
    }

    function test_signedReadOuts() {
        const panel = makePanel()
        openWithCutout()
        Editor.setAdjust("subject", "exposure", -1.25)
        Editor.setAdjust("subject", "contrast", 12)
        Editor.setAdjust("subject", "saturation", -40)
        Editor.setAdjust("subject", "warmth", 30)
        compare(texts(panel), ["-1.25 EV", "+12%", "-40%", "+30"])
    }

    function test_theBackgroundSetIsLockedWithoutAPictureBehind() {
        const panel = makePanel()
        openWithCutout()
        const note = child(panel, "adjustLockNote")
        const sliders = child(panel, "adjustSliders")
        verify(!note.visible)
        target(panel, "Background")
        for (const mode of ["Transparent", "Color"]) {
            Editor.setComp("backgroundMode", mode)
            verify(note.visible, mode)
            verify(!sliders.enabled)
            compare(sliders.opacity, 0.4)
        }
        pressSliderEnd(panel, "contrastRow", true)
        compare(Editor.comp.backgroundAdjust.contrast, 0)

        Editor.setComp("backgroundMode", "Image")
        verify(!note.visible)
        verify(sliders.enabled)
        Editor.setComp("backgroundMode", "Original")
        pressSliderEnd(panel, "contrastRow", true)
        compare(Editor.comp.backgroundAdjust.contrast, 50)
        // The subject is never locked.
        Editor.setComp("backgroundMode", "Color")
        target(panel, "Subject")
        verify(!note.visible)
        verify(sliders.enabled)
    }

    function test_resetZeroesOnlyTheEditedSet() {
        const panel = makePanel()
        openWithCutout()
        const reset = child(panel, "adjustReset")
        verify(!reset.enabled)
        compare(reset.opacity, 0.5)
        Editor.setAdjust("background", "saturation", 20)
        verify(!reset.enabled)   // the subject's set is still neutral

        Editor.setAdjust("subject", "exposure", 0.5)
        Editor.setAdjust("subject", "warmth", -10)
        verify(reset.enabled)
        compare(reset.opacity, 1)
        mouseClick(reset)
        compare(texts(panel), ["+0.00 EV", "+0%", "+0%", "+0"])
        verify(!reset.enabled)
        compare(Editor.comp.backgroundAdjust.saturation, 20)

        // Locked sliders do not lock Reset.
        target(panel, "Background")
        verify(child(panel, "adjustLockNote").visible)
        verify(reset.enabled)
        mouseClick(reset)
        compare(Editor.comp.backgroundAdjust.saturation, 0)
    }

    function test_aNewPanelStartsOnTheSubjectAndDimsWholeWithoutACutout() {
        const first = makePanel()
        openWithCutout()
        target(first, "Background")
        compare(first.target, "Background")
        first.visible = false
        const panel = makePanel()
        compare(panel.target, "Subject")

        Editor.clearDocument()
        openWithoutCutout()
        const body = child(panel, "subjectPanelBody")
        verify(!body.enabled)
        // The colour panel is part of what is dimmed.
        compare(drawnOpacity(child(panel, "colorModeChips"), panel), 0.6)
        verify(!child(panel, "applyGradient").enabled)
    }
}
