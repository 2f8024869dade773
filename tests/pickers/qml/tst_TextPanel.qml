// The text panel: its states with and without layers, selection and cutout;
// the rows of plain and label layers; the style and label controls' texts
// and writes; the font picker's popup.
import QtQuick
import QtTest
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Pickers
import Zephrin.TestSupport

PickerHarness {
    id: test
    name: "TextPanel"

    readonly property var swatches: [Qt.rgba(1, 1, 1, 1), Qt.rgba(0, 0, 0, 1), Qt.rgba(0.93, 0.26, 0.36, 1)]
    Component { id: panelComponent; TextPanel { width: 300; swatches: test.swatches } }

    function makePanel() {
        const panel = createTemporaryObject(panelComponent, test)
        verify(panel)
        return panel
    }

    function init() { freshDocument() }

    // The popup of the font picker: framed and shadowed over what lies below,
    // closed with Escape, and fresh each time it opens, for any layer.
    function test_theFontPopupIsFramedClosesOnEscapeAndOpensAfresh() {
        verify(Driver.writeDataFile("Zephrin/Fonts/fonts.json", JSON.stringify({
            categories: ["Serif"],
            items: [{ id: "lora", name: "Lora", category: "Serif", files: { regular: "lora/lora.otf" } }]
        })))
        const panel = makePanel()
        mouseClick(item(panel, "addText"))
        waitForRendering(panel)
        mouseClick(item(panel, "fontButton"))
        const popup = item(panel, "fontPopup")
        tryCompare(popup, "opened", true)
        const picker = item(popup.contentItem, "fontPicker")
        tryCompare(picker.model, "emptyState", "", Driver.patience)
        waitForRendering(test)

        // A frame at its edge, and a shadow below it.
        const shot = grabImage(test)
        const frame = popup.background.mapToItem(test, 0, 0)
        const edge = shot.pixel(frame.x + 0.5, frame.y + popup.background.height / 2)
        verify(!Qt.colorEqual(edge, Theme.panel), "edge " + edge)
        const below = shot.pixel(frame.x + popup.background.width / 2, frame.y + popup.background.height + 4)
        const beside = shot.pixel(frame.x + popup.background.width / 2, frame.y + popup.background.height + 40)
        verify(below.hslLightness < beside.hslLightness, "no shadow: " + below + " " + beside)

        // The search has the keys; a chip, a search and a failed download.
        for (const c of "lo")
            keyClick(c)
        compare(picker.model.search, "lo")
        mouseClick(item(picker, "fontChip:Serif"))
        mouseClick(item(item(picker, "fontRow:lora"), "fontPick"))
        tryCompare(picker.model, "failed", "Couldn't download Lora.", Driver.patience)

        keyClick(Qt.Key_Escape)
        tryCompare(popup, "opened", false)
        verify(!panel.showFonts)

        mouseClick(item(panel, "fontButton"))
        tryCompare(popup, "opened", true)
        compare(picker.model.search, "")
        compare(item(picker, "fontSearch").text, "")
        compare(picker.model.chip, "All")
        compare(picker.model.failed, "")
        keyClick("x")
        keyClick(Qt.Key_Escape)
        tryCompare(popup, "opened", false)

        // Another layer's picker starts afresh too.
        mouseClick(item(panel, "addText"))
        waitForRendering(panel)
        mouseClick(item(panel, "fontButton"))
        const other = item(panel, "fontPopup")
        tryCompare(other, "opened", true)
        const otherPicker = item(other.contentItem, "fontPicker")
        compare(otherPicker.model.search, "")
        compare(otherPicker.model.chip, "All")
        keyClick(Qt.Key_Escape)
        tryCompare(other, "opened", false)
    }

    function test_withoutLayersOnlyTheAddRow() {
        const panel = makePanel()
        verify(item(panel, "addText").visible)
        verify(item(panel, "addShape").visible)
        verify(!item(panel, "layerList").visible)
        verify(!item(panel, "editingSection").visible)
        verify(panel.enabled)
        compare(panel.opacity, 1)
    }

    function test_withoutACutoutNothingReacts() {
        const panel = makePanel()
        Editor.clearDocument()
        Driver.settle()
        verify(!panel.enabled)
        compare(panel.opacity, 0.6)
        mouseClick(item(panel, "addText"))
        compare(layers().length, 0)
    }

    function test_rowsNameTheirLayersOnOneLine() {
        const panel = makePanel()
        mouseClick(item(panel, "addText"))
        compare(layers().length, 1)
        const id = Editor.selectedTextID
        verify(item(panel, "editingSection").visible)
        Editor.setTextField(id, "text", "Two\nlines")
        compare(item(panel, "layerRow:" + id).Accessible.name, "Two lines")
        Editor.setTextField(id, "text", "")
        compare(item(panel, "layerRow:" + id).Accessible.name, "(empty)")

        // Layers but no selection: the list only.
        Editor.selectedTextID = ""
        verify(item(panel, "layerList").visible)
        verify(!item(panel, "editingSection").visible)
        // A selection that names no layer shows no editing section either.
        Editor.selectedTextID = "00000000-0000-0000-0000-000000000001"
        verify(!item(panel, "editingSection").visible)
    }

    function test_plainAndLabelLayersDiffer() {
        const panel = makePanel()
        Editor.addTextLayer()
        const text = Editor.selectedTextID
        compare(item(panel, "deleteLayer").text, "Delete Text")
        compare(item(panel, "textHint").text, "Drag the text on the canvas to move it. Click empty space to hide the box.")
        compare(find(panel, "shapeControls"), null)
        verify(item(panel, "slider:size").visible)

        Editor.addShapeLayer("banner")
        const label = Editor.selectedTextID
        compare(item(panel, "deleteLayer").text, "Delete Shape")
        compare(item(panel, "textHint").text,
                "Drag the shape to move it, or its round corner to resize. Arrow keys nudge; Delete removes it.")
        verify(item(panel, "shapeControls").visible)
        compare(item(panel, "shapeName").text, "Banner")
        verify(!item(panel, "slider:size").visible)

        const labelRow = item(panel, "layerRow:" + label)
        compare(item(labelRow, "layerIcon").symbol, "square.on.circle")
        compare(item(labelRow, "layerTrash").Accessible.name, "Delete this shape")
        const textRow = item(panel, "layerRow:" + text)
        compare(item(textRow, "layerIcon").symbol, "textformat")
        compare(item(textRow, "layerTrash").Accessible.name, "Delete this text")
    }

    function test_clickingARowEndsTextEditingAndSelects() {
        const panel = makePanel()
        Editor.addTextLayer()
        const first = Editor.selectedTextID
        Editor.addTextLayer()
        const box = item(panel, "textBox")
        box.forceActiveFocus()
        verify(box.activeFocus)
        const r = item(panel, "layerRow:" + first)
        tryVerify(() => r.width > 0)
        mouseClick(r)
        compare(Editor.selectedTextID, first)
        verify(!box.activeFocus)
    }

    function test_typingWritesTheLayersText() {
        const panel = makePanel()
        Editor.addTextLayer()
        const box = item(panel, "textBox")
        box.forceActiveFocus()
        box.selectAll()
        keyClick(Qt.Key_H)
        keyClick(Qt.Key_I)
        compare(layers()[0].text, "hi")
    }

    function test_aLongTextScrollsInsideItsBoxWithTheCaretInView() {
        const panel = makePanel()
        Editor.addTextLayer()
        const scroller = item(panel, "textBoxScroller")
        const box = item(panel, "textBox")
        const below = item(panel, "styleControls")
        waitForRendering(panel)
        const bottom = scroller.mapToItem(panel, 0, scroller.height).y
        box.forceActiveFocus()
        box.selectAll()
        for (let i = 0; i < 6; ++i) {
            keyClick(Qt.Key_A)
            keyClick(Qt.Key_Return)
        }
        keyClick(Qt.Key_B)
        compare(layers()[0].text, "a\na\na\na\na\na\nb")
        waitForRendering(panel)
        // The box keeps its height and clips; the controls below stay put.
        compare(scroller.height, 64)
        verify(scroller.clip)
        compare(scroller.mapToItem(panel, 0, scroller.height).y, bottom)
        verify(below.mapToItem(panel, 0, 0).y >= bottom)
        // Scrolled to the caret at the end.
        const flick = scroller.contentItem
        verify(flick.contentY > 0)
        const caret = box.cursorRectangle
        verify(caret.y - flick.contentY >= 0)
        verify(caret.y + caret.height - flick.contentY <= scroller.height)
        // Back to the first line: scrolled back up.
        box.cursorPosition = 0
        tryCompare(flick, "contentY", 0)
    }

    function test_duplicateSelectsTheCopy() {
        const panel = makePanel()
        Editor.addTextLayer()
        const first = Editor.selectedTextID
        Editor.addTextLayer()
        item(item(panel, "layerRow:" + first), "duplicateLayer").triggered()
        compare(layers().length, 3)
        compare(Editor.selectedTextID, layers()[2].id)
        verify(Editor.selectedTextID !== first)
    }

    function test_deleteButtonsRemoveTheLayer() {
        const panel = makePanel()
        Editor.addTextLayer()
        const id = Editor.selectedTextID
        mouseClick(item(panel, "deleteLayer"))
        compare(Editor.selectedTextID, "")
        verify(!item(panel, "editingSection").visible)
        Driver.settle()
        compare(layers().length, 0)
    }

    function test_styleValueTextsAndWrites() {
        const panel = makePanel()
        Editor.addTextLayer()
        const id = Editor.selectedTextID
        Editor.setTextField(id, "size", 0.125)
        compare(item(item(panel, "slider:size"), "valueText").text, "13%")
        compare(item(item(panel, "slider:outline"), "valueText").text, "Off")
        verify(!item(panel, "color:outlineColor").visible)
        Editor.setTextField(id, "outline", 0.005)
        compare(item(item(panel, "slider:outline"), "valueText").text, "1%")
        verify(item(panel, "color:outlineColor").visible)
        Editor.setTextField(id, "curve", -45)
        compare(item(item(panel, "slider:curve"), "valueText").text, "Smile 45")

        // Center moves only across.
        Editor.setTextField(id, "x", 0.2)
        const y = layers()[0].y
        mouseClick(item(panel, "centerButton"))
        compare(layers()[0].x, 0.5)
        compare(layers()[0].y, y)

        // A swatch writes the whole colour.
        mouseClick(item(item(panel, "textSwatches"), "swatch:2"))
        fuzzyCompare(layers()[0].color.r, 0.93, 0.001)
    }

    function test_effectChips() {
        const panel = makePanel()
        Editor.addTextLayer()
        const id = Editor.selectedTextID
        verify(!item(panel, "slider:effectSize").visible)
        mouseClick(item(panel, "chip:Glow"))
        compare(layers()[0].effect, "glow")
        compare(layers()[0].effectColor.a.toFixed(2), "0.90")
        compare(layers()[0].effectColor.r, 1)
        verify(item(panel, "slider:effectSize").visible)
        compare(item(panel, "slider:effectSize").label, "Glow size")

        // Glow keeps a strong colour; Shadow resets it.
        Editor.setTextField(id, "effectColor", Qt.rgba(1, 0, 0, 1))
        mouseClick(item(panel, "chip:Glow"))
        compare(layers()[0].effectColor.g, 0)
        mouseClick(item(panel, "chip:Shadow"))
        compare(layers()[0].effectColor.r, 0)
        compare(layers()[0].effectColor.a.toFixed(2), "0.60")
        compare(item(panel, "slider:effectSize").label, "Shadow size")
        mouseClick(item(panel, "chip:No Effect"))
        verify(!item(panel, "slider:effectSize").visible)
        compare(layers()[0].effectColor.a.toFixed(2), "0.60")
    }

    function test_labelControls() {
        const panel = makePanel()
        Editor.addShapeLayer("heart")
        const id = Editor.selectedTextID
        compare(item(panel, "color:color").label, "Text color")
        verify(!item(panel, "color:borderColor").visible)
        compare(item(item(panel, "slider:border"), "valueText").text, "Off")
        Editor.setTextField(id, "border", 0.002)
        compare(item(item(panel, "slider:border"), "valueText").text, "Off")
        verify(item(panel, "color:borderColor").visible)   // 0.002 > 0.001
        Editor.setTextField(id, "labelFill", 0.85)
        compare(item(item(panel, "slider:labelFill"), "valueText").text, "85%")

        // Cut-out text has no colour rows.
        mouseClick(item(panel, "chip:Cut-Out Text"))
        verify(layers()[0].knockout)
        verify(!item(panel, "colorRows").visible)
        mouseClick(item(panel, "chip:Label Inside"))
        verify(!layers()[0].knockout)
        verify(item(panel, "colorRows").visible)

        // A fill swatch writes the fill.
        mouseClick(item(item(panel, "fillSwatches"), "swatch:1"))
        compare(layers()[0].fill.r, 0)
    }

    function test_addShapeOpensTheGalleryAndAddsAPickedKind() {
        const panel = makePanel()
        mouseClick(item(panel, "addShape"))
        verify(panel.showShapes)
        const popup = item(panel, "addShapePopup")
        tryVerify(() => popup.opened)
        mouseClick(item(popup.contentItem, "shapeTile:star"))
        compare(layers().length, 1)
        compare(layers()[0].shape, "star")
        compare(layers()[0].text, "WOW")
        verify(!panel.showShapes)
    }
}
