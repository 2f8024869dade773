// "Refine by hand": the canvas tool for correcting the cutout (view, pan,
// erase, restore, select) and the block of that tool: the shared brush for
// erase and restore; for select and the colour picker the selection
// controls, the delete buttons and the colour removal. Every edit is one of
// the editor's operations, recorded as a mask edit.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Inspector
import Zephrin.Model

PanelStack {
    id: panel
    readonly property string block: RefineText.toolBlock(Editor.canvasTool)
    readonly property bool hasSelection: Editor.pendingSelection !== undefined
    readonly property int pickCount: Editor.pickedColors.length
    readonly property var sizeRange: Editor.settingRange("brushSize")
    readonly property var hardnessRange: Editor.settingRange("brushHardness")
    readonly property var toleranceRange: Editor.settingRange("colorTolerance")

    spacing: 12

    RowLayout {
        Layout.fillWidth: true
        SectionHeading { text: "Refine by hand" }
        Item { Layout.fillWidth: true }
        PanelLink {
            objectName: "clearEdits"
            visible: Editor.activeOpCount >= 1
            text: "Clear edits"
            onClicked: Editor.clearEdits()
        }
    }

    RowLayout {
        objectName: "toolChips"
        Layout.fillWidth: true
        spacing: 8
        Repeater {
            model: ["View", "Pan", "Erase", "Restore", "Select"]
            delegate: CanvasToolChip {
                required property string modelData
                tool: modelData
            }
        }
    }

    PanelHint {
        objectName: "toolNote"
        visible: panel.block === "note"
        text: RefineText.toolNote(Editor.canvasTool)
    }

    // Erase and restore: the brush, shared with the paint tool.
    PanelHint {
        objectName: "brushHint"
        visible: panel.block === "brush"
        text: RefineText.brushHint(Editor.canvasTool)
    }
    ZPChipRow {
        objectName: "brushTips"
        visible: panel.block === "brush"
        Layout.fillWidth: true
        options: Editor.choices("brushTip")
        selection: Editor.brushTip
        onSelected: (option) => Editor.brushTip = option
    }
    ZPSliderRow {
        objectName: "brushSize"
        visible: panel.block === "brush"
        Layout.fillWidth: true
        label: "Size"
        value: Editor.brushSize
        from: panel.sizeRange.lower
        to: panel.sizeRange.upper
        stepSize: panel.sizeRange.step
        format: (v) => RefineText.sizeText(v)
        onMoved: (v) => Editor.brushSize = v
    }
    ZPSliderRow {
        objectName: "brushHardness"
        visible: panel.block === "brush"
        Layout.fillWidth: true
        label: "Hardness"
        value: Editor.brushHardness
        from: panel.hardnessRange.lower
        to: panel.hardnessRange.upper
        stepSize: panel.hardnessRange.step
        format: (v) => RefineText.hardnessText(v)
        onMoved: (v) => Editor.brushHardness = v
    }

    // Select and the colour picker: the area, then the colours.
    SelectionAreaControls {
        visible: panel.block === "selection"
        Layout.fillWidth: true
        spacing: panel.spacing
        noSelectionHint: "…or use the colors below on the whole image."
    }
    Flow {
        objectName: "deleteRow"
        visible: panel.block === "selection" && panel.hasSelection
        Layout.preferredWidth: panel.width
        spacing: 8
        ZPSecondaryButton {
            objectName: "deleteInside"
            text: "Delete inside"
            symbol: "scissors"
            height: 36
            onClicked: Editor.eraseSelection(true)
        }
        ZPSecondaryButton {
            objectName: "deleteOutside"
            text: "Delete outside"
            symbol: "rectangle.dashed"
            height: 36
            onClicked: Editor.eraseSelection(false)
        }
    }

    ColorRemovalBlock {
        visible: panel.block === "selection"
        Layout.fillWidth: true
        spacing: panel.spacing
    }
}
