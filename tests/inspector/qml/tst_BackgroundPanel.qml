import QtQuick
import QtTest
import Zephrin.Inspector
import Zephrin.Model
import Zephrin.TestSupport

PanelCase {
    id: testCase
    name: "BackgroundPanel"

    Component { id: panelComponent; BackgroundPanel { width: 278 } }

    readonly property var blocks: ["transparentNote", "fillColorRow", "backgroundSwatches", "originalNote",
                                   "backgroundBlurRow", "edgeBlendRow", "backdropPicker"]

    function makePanel() { return createTemporaryObject(panelComponent, testCase) }
    function chip(panel, mode) { return child(child(panel, "backgroundModeChips"), "chip:" + mode) }

    function test_withoutACutoutOnlyTheNoteReacts() {
        const panel = makePanel()
        openWithoutCutout()
        const body = child(panel, "subjectPanelBody")
        verify(!body.enabled)
        compare(body.opacity, 0.6)
        mouseClick(chip(panel, "Color"))
        compare(Editor.comp.backgroundMode, "Transparent")
        verify(child(panel, "noteAutoSubject").enabled)

        mouseClick(child(panel, "noteAutoSubject"))
        Driver.settle()
        verify(Editor.cutout !== undefined)
        verify(body.enabled)
        compare(body.opacity, 1)
        mouseClick(chip(panel, "Color"))
        compare(Editor.comp.backgroundMode, "Color")
    }

    function test_eachModeShowsItsOwnBlock() {
        const panel = makePanel()
        openWithCutout()
        compare(shown(panel, blocks), ["transparentNote"])
        // Every format that keeps transparency is named.
        compare(child(panel, "transparentNote").text,
                "Exports with a transparent background (PNG, WebP, HEIC, SVG).")
        mouseClick(chip(panel, "Color"))
        compare(shown(panel, blocks), ["fillColorRow", "backgroundSwatches", "edgeBlendRow"])
        mouseClick(chip(panel, "Original"))
        compare(shown(panel, blocks), ["originalNote", "backgroundBlurRow"])
        mouseClick(chip(panel, "Image"))
        compare(shown(panel, blocks), ["backgroundBlurRow", "edgeBlendRow", "backdropPicker"])
    }

    function test_blurAndBlendReadOffBelowHalf() {
        const panel = makePanel()
        openWithCutout()
        Editor.setComp("backgroundMode", "Image")
        const cases = [["backgroundBlur", 0, "backgroundBlurRow", "Off"],
                       ["backgroundBlur", 0.4, "backgroundBlurRow", "Off"],
                       ["backgroundBlur", 1, "backgroundBlurRow", "1 px"],
                       ["backgroundBlur", 60, "backgroundBlurRow", "60 px"],
                       ["edgeBlend", 0, "edgeBlendRow", "Off"],
                       ["edgeBlend", 57, "edgeBlendRow", "57%"],
                       ["edgeBlend", 100, "edgeBlendRow", "100%"]]
        for (const [field, value, row, text] of cases) {
            Editor.setComp(field, value)
            compare(valueText(panel, row), text, field + " " + value)
        }
        pressSliderEnd(panel, "backgroundBlurRow", true)
        compare(Editor.comp.backgroundBlur, 60)
    }

    function test_swatchesWriteTheFillColourAndModesKeepTheirValues() {
        const panel = makePanel()
        openWithCutout()
        mouseClick(chip(panel, "Color"))
        mouseClick(child(child(panel, "backgroundSwatches"), "swatch1"))
        verify(Qt.colorEqual(Editor.comp.backgroundColor, "black"))
        compWrites.clear()
        mouseClick(child(child(panel, "backgroundSwatches"), "swatch1"))
        compare(compWrites.count, 0)

        Editor.setComp("edgeBlend", 30)
        mouseClick(chip(panel, "Image"))
        wait(30)   // the backdrop picker takes its place below the chips
        mouseClick(chip(panel, "Color"))
        compare(Editor.comp.backgroundMode, "Color")
        verify(Qt.colorEqual(Editor.comp.backgroundColor, "black"))
        compare(valueText(panel, "edgeBlendRow"), "30%")
        // The backdrop picker, shown in the meantime, has swatches of its own.
        mouseClick(child(child(panel, "backgroundSwatches"), "swatch2"))
        verify(Qt.colorEqual(Editor.comp.backgroundColor, Qt.rgba(0.5450980392156862, 0.3607843137254902,
                                                                 0.9647058823529412, 1)))
    }

    SignalSpy { id: compWrites; target: Editor; signalName: "compChanged" }
}
