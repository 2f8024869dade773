import QtQuick
import QtTest
import Zephrin.Controls
import Zephrin.Inspector
import Zephrin.Model
import Zephrin.TestSupport

PanelCase {
    id: testCase
    name: "ResizePanel"

    Component { id: panelComponent; ResizePanel { width: 278 } }

    function makePanel() { return createTemporaryObject(panelComponent, testCase) }

    // Chooses a preset through the menu, as a user does.
    function applyPreset(panel, title) {
        const menu = child(panel, "presetMenu")
        mouseClick(child(panel, "presetMenuButton"))
        tryVerify(() => menu.opened)
        let entry = null
        for (let i = 0; i < menu.count; ++i)
            if (menu.itemAt(i).text === title)
                entry = menu.itemAt(i)
        verify(entry, "no preset " + title)
        mouseClick(entry)
        tryVerify(() => !menu.visible)
        Driver.settle()
    }

    function test_withoutACutoutThePanelIsInert() {
        const panel = makePanel()
        openWithoutCutout()
        verify(!panel.enabled)
        compare(panel.opacity, 0.6)
        Editor.clearDocument()
        openWithCutout()
        verify(panel.enabled)
        compare(panel.opacity, 1)
    }

    function test_paddingFollowsTrimAndTheAspectFollowsTheShape() {
        const panel = makePanel()
        openWithCutout()
        const padding = child(panel, "paddingRow")
        Editor.setComp("trimToContent", false)
        verify(padding.visible && !padding.enabled)
        compare(padding.opacity, 0.4)
        pressSliderEnd(panel, "paddingRow", true)
        compare(Editor.comp.padding, 6)
        mouseClick(child(child(panel, "trimToggle"), "switch"))
        verify(Editor.comp.trimToContent)
        verify(padding.enabled)
        compare(valueText(panel, "paddingRow"), "6%")

        const aspect = child(panel, "aspectRow")
        const radius = child(panel, "cornerRadiusRow")
        Editor.setComp("aspect", "4:3")
        Editor.setComp("shapeCrop", "Circle")
        verify(!aspect.enabled)
        compare(aspect.opacity, 0.4)
        compare(Editor.comp.aspect, "4:3")
        verify(!radius.visible)
        Editor.setComp("shapeCrop", "Rounded")
        verify(aspect.enabled)
        verify(radius.visible)
        compare(valueText(panel, "cornerRadiusRow"), "20%")
        Editor.setComp("shapeCrop", "None")
        verify(!radius.visible)
    }

    function test_theCropIsEditedOnTheCanvasAndAppliedHere() {
        const panel = makePanel()
        openWithCutout()
        Editor.tool = "effects"
        const start = child(panel, "startCrop")
        compare(start.text, "Crop…")
        verify(!child(panel, "removeCrop").visible)
        verify(!child(panel, "cropSize").visible)
        mouseClick(start)
        compare(Editor.tool, "resize")
        compare(Editor.canvasTool, "Crop")
        verify(!start.visible)
        verify(child(panel, "cropAspectRow").visible)
        const apply = child(panel, "applyCrop")
        verify(!apply.enabled)

        // Cancel keeps no draft and no crop.
        Editor.cropDraft = Qt.rect(10, 10, 40, 30)
        mouseClick(child(panel, "cancelCrop"))
        compare(Editor.canvasTool, "View")
        compare(Editor.cropDraft, undefined)
        compare(Editor.comp.crop, undefined)

        mouseClick(start)
        Editor.cropDraft = Qt.rect(10.4, 10.6, 20.2, 20.2)
        verify(apply.enabled)
        mouseClick(apply)
        compare(Editor.comp.crop, Qt.rect(10, 10, 21, 21))
        compare(Editor.canvasTool, "View")
        compare(start.text, "Adjust crop…")
        verify(child(panel, "removeCrop").visible)
        compare(child(panel, "cropSize").text, "21 × 21 px")

        // Adjusting starts from the crop, in the picture's pixels; a draft
        // reaching past the picture is applied as the part on it.
        mouseClick(start)
        compare(Editor.cropDraft, Qt.rect(10, 10, 21, 21))
        Editor.cropDraft = Qt.rect(100, 50, 60, 60)
        mouseClick(apply)
        compare(Editor.comp.crop, Qt.rect(100, 50, 20, 30))

        Editor.setComp("crop", Qt.rect(0, 0, 199.9, 100))
        compare(child(panel, "cropSize").text, "199 × 100 px")
        mouseClick(child(panel, "removeCrop"))
        compare(Editor.comp.crop, undefined)
        compare(start.text, "Crop…")
    }

    function test_aPresetAppliesAndItsChecklistFollowsTheSettings() {
        const panel = makePanel()
        openWithCutout()
        const list = child(panel, "complianceList")
        verify(!list.visible)
        compare(child(panel, "presetMenuLabel").text, "Apply…")

        applyPreset(panel, "Amazon main image")
        compare(Editor.activePreset, "Amazon main image")
        compare(Editor.exportFormat, "JPG")
        compare(Editor.comp.backgroundMode, "Color")
        compare(child(panel, "presetMenuLabel").text, "Apply…")
        verify(list.visible)
        compare(child(child(list, "complianceRow0"), "complianceText").text, "Pure white background (RGB 255,255,255)")
        verify(findChild(list, "complianceRow4") !== null)
        compare(findChild(list, "complianceRow5"), null)
        compare(child(panel, "outputSize").text, Editor.compositeSizeLabel)
        verify(Editor.compositeSizeLabel !== "—")
    }

    // While a value changes the size, its digits keep their places: 111 × 111
    // takes the width of 888 × 888.
    function test_theOutputSizeKeepsItsWidth() {
        const panel = makePanel()
        const output = child(panel, "outputSize")
        const widths = []
        for (const side of [111, 888]) {
            Driver.openPicture(side, side)
            compare(output.text, side + " × " + side)
            waitForItemPolished(output)
            widths.push(output.width)
        }
        fuzzyCompare(widths[0], widths[1], 0.01)
    }

    function test_checklistRowsFlipLive() {
        const panel = makePanel()
        openWithCutout()
        const list = child(panel, "complianceList")
        applyPreset(panel, "HTV / iron-on (SVG, mirrored)")
        compare(Editor.exportFormat, "SVG")
        verify(Editor.comp.mirror)
        compare(child(list, "complianceHeading").text, "HTV / iron-on (SVG, mirrored): ready")
        compare(child(list, "complianceIcon").symbol, "checkmark.seal.fill")

        Editor.svgColors = 5
        compare(child(list, "complianceHeading").text, "HTV / iron-on (SVG, mirrored): needs attention")
        compare(child(list, "complianceIcon").symbol, "exclamationmark.triangle.fill")
        const rows = [0, 1, 2].map((i) => child(list, "complianceRow" + i))
        compare(rows.map((row) => child(row, "complianceText").text),
                ["SVG cut file", "Mirrored for iron-on", "Few solid colors (one vinyl sheet per color)"])
        // Only the unmet row is bright.
        verify(Qt.colorEqual(child(rows[2], "complianceText").color, Theme.textPrimary))
        verify(Qt.colorEqual(child(rows[0], "complianceText").color, Theme.textSecondary))

        Editor.svgColors = 4
        compare(child(list, "complianceHeading").text, "HTV / iron-on (SVG, mirrored): ready")
        // Without a preset there is no card.
        Editor.activePreset = undefined
        verify(!list.visible)
    }
}
