// The colour section of the adjust tool: the subject's colour mode (fill or
// tint, part of comp), and paint: the canvas tool chips, the blend and opacity
// every paint operation takes, and the block of the chosen tool (brush,
// selection, or a gradient placed over an area at an angle). Painting itself
// happens on the canvas; this panel sets what it uses and calls the model.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model

ColumnLayout {
    id: panel
    readonly property string colorMode: Editor.comp.colorMode
    readonly property string tool: Editor.canvasTool
    readonly property bool hasSelection: Editor.pendingSelection !== undefined
    // The gradient directions offered as buttons, clockwise from the right.
    readonly property var anglePresets: [
        { symbol: "arrow.right", angle: 0 }, { symbol: "arrow.down", angle: 90 },
        { symbol: "arrow.left", angle: 180 }, { symbol: "arrow.up", angle: 270 },
        { symbol: "arrow.down.right", angle: 45 }, { symbol: "arrow.down.left", angle: 135 }
    ]

    spacing: 12

    // Discards the pending selection (the last area stays for Reselect).
    function clearSelection() {
        if (Editor.pendingSelection !== undefined)
            Editor.pendingSelection = undefined
        Editor.liveStroke = []
        Editor.gradientLine = undefined
        Editor.selectionPalette = []
    }

    SectionTitle { text: "Color" }
    ZPChipRow {
        objectName: "colorModeChips"
        Layout.fillWidth: true
        options: Editor.choices("colorMode")
        selection: panel.colorMode
        onSelected: (option) => Editor.setComp("colorMode", option)
    }
    HintText {
        objectName: "colorModeHint"
        visible: panel.colorMode === "None"
        text: "Fill makes the whole subject one color. Tint recolors while keeping shading."
    }
    ZPColorRow {
        objectName: "subjectFillColorRow"
        Layout.fillWidth: true
        visible: panel.colorMode === "Fill"
        label: "Fill color"
        color: Editor.comp.fillColor
        onPicked: (c) => Editor.setComp("fillColor", c)
    }
    ZPColorRow {
        objectName: "tintColorRow"
        Layout.fillWidth: true
        visible: panel.colorMode === "Tint"
        label: "Tint color"
        color: Editor.comp.tintColor
        onPicked: (c) => Editor.setComp("tintColor", c)
    }
    SettingSlider {
        objectName: "tintStrengthRow"
        visible: panel.colorMode === "Tint"
        label: "Strength"
        field: "tintStrength"
        format: (v) => ValueText.wholeWith(v, 1, "%")
    }

    Divider {}

    RowLayout {
        Layout.fillWidth: true
        SectionTitle { text: "Paint" }
        Item { Layout.fillWidth: true }
        LinkButton {
            objectName: "clearPaint"
            visible: Editor.activePaintOpCount >= 1
            text: "Clear paint"
            onClicked: Editor.clearPaint()
        }
    }
    RowLayout {
        Layout.fillWidth: true
        spacing: 8
        Repeater {
            model: ["Paint", "Gradient", "Select", "Pan"]
            delegate: CanvasToolChip {
                required property string modelData
                tool: modelData
                // Also for the tool already chosen: a fresh gradient line.
                onChosen: Editor.gradientLine = undefined
            }
        }
    }
    Text {
        text: "Blend"
        font: Theme.captionFont
        color: Theme.textTertiary
    }
    ZPChipRow {
        objectName: "blendChips"
        Layout.fillWidth: true
        options: Editor.choices("paintBlend")
        selection: Editor.paintBlend
        onSelected: (option) => Editor.paintBlend = option
    }
    HintText {
        objectName: "blendHint"
        text: Editor.paintBlend === "Solid" ? "Solid paints flat color over the subject."
                                            : "Color keeps the original shading and changes only the hue."
    }
    EditorSlider {
        objectName: "paintOpacityRow"
        label: "Opacity"
        name: "paintOpacity"
        format: (v) => ValueText.wholeWith(v, 1, "%")
    }

    // ---- Paint -------------------------------------------------------------
    ColumnLayout {
        objectName: "paintBlock"
        visible: panel.tool === "Paint"
        Layout.fillWidth: true
        spacing: 12
        ZPColorRow {
            objectName: "brushColorRow"
            Layout.fillWidth: true
            label: "Brush color"
            color: Editor.paintColor
            onPicked: (c) => Editor.paintColor = c
        }
        ZPChipRow {
            objectName: "tipChips"
            Layout.fillWidth: true
            options: Editor.choices("brushTip")
            selection: Editor.brushTip
            onSelected: (option) => Editor.brushTip = option
        }
        EditorSlider {
            objectName: "brushSizeRow"
            label: "Size"
            name: "brushSize"
            format: (v) => ValueText.wholeWith(v, 1, " px")
        }
        EditorSlider {
            objectName: "hardnessRow"
            label: "Hardness"
            name: "brushHardness"
            format: (v) => ValueText.wholeWith(v * 100, 5, "%")
        }
        RowLayout {
            visible: panel.hasSelection
            Layout.fillWidth: true
            spacing: 8
            ZPIcon { symbol: "checkmark.circle.fill"; size: 12; color: Theme.success }
            Text {
                text: "Brush stays inside the selection"
                font: Theme.captionFont
                color: Theme.textSecondary
            }
            Item { Layout.fillWidth: true }
            LinkButton {
                objectName: "paintClearSelection"
                text: "Clear selection"
                onClicked: panel.clearSelection()
            }
        }
        FillSelectionButton { visible: panel.hasSelection }
        HintText {
            objectName: "paintHint"
            visible: !panel.hasSelection
            text: "Paint stays inside the subject; the transparent area is never colored. Use Select to limit painting to one part."
        }
    }

    // ---- Select ------------------------------------------------------------
    ColumnLayout {
        objectName: "selectBlock"
        visible: panel.tool === "Select"
        Layout.fillWidth: true
        spacing: 12
        HintText {
            text: "Mark the part to color, then switch to Paint or Gradient. The selection stays until you clear it."
        }
        SelectionAreaControls {}
        ZPColorRow {
            Layout.fillWidth: true
            visible: panel.hasSelection
            label: "Brush color"
            color: Editor.paintColor
            onPicked: (c) => Editor.paintColor = c
        }
        FillSelectionButton { visible: panel.hasSelection }
    }

    // ---- Gradient ----------------------------------------------------------
    ColumnLayout {
        objectName: "gradientBlock"
        visible: panel.tool === "Gradient"
        Layout.fillWidth: true
        spacing: 12
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 8
            SectionTitle { text: "1. Area" }
            SelectionAreaControls { noSelectionHint: "…or skip this to cover the whole subject." }
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 8
            SectionTitle { text: "2. Colors" }
            ZPChipRow {
                objectName: "gradientKindChips"
                Layout.fillWidth: true
                options: Editor.choices("gradientKind")
                selection: Editor.gradientKind
                onSelected: (option) => Editor.gradientKind = option
            }
            ZPColorRow {
                Layout.fillWidth: true
                label: "Start color"
                color: Editor.gradientStart
                onPicked: (c) => Editor.gradientStart = c
            }
            ZPColorRow {
                Layout.fillWidth: true
                label: "End color"
                color: Editor.gradientEnd
                onPicked: (c) => Editor.gradientEnd = c
            }
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 8
            SectionTitle { text: "3. Direction" }
            Row {
                spacing: 8
                Repeater {
                    model: panel.anglePresets
                    delegate: AnglePresetButton {
                        required property var modelData
                        symbol: modelData.symbol
                        angle: modelData.angle
                        onChosen: {
                            if (Editor.gradientAngle !== angle)
                                Editor.gradientAngle = angle
                        }
                    }
                }
            }
            EditorSlider {
                objectName: "angleRow"
                label: "Angle"
                name: "gradientAngle"
                format: (v) => ValueText.wholeWith(v, 1, "°")
            }
            HintText {
                objectName: "directionHint"
                text: panel.hasSelection
                      ? "Or start outside the selection and drag a line across it to set a custom direction."
                      : "Applies across the whole subject."
            }
        }
        ZPPrimaryButton {
            objectName: "applyGradient"
            // Says so only when the model will really put it in the last one's place.
            text: Editor.willReplaceGradient ? "Apply Gradient (replaces last)" : "Apply Gradient"
            symbol: "checkmark"
            fullWidth: true
            implicitHeight: 40
            enabled: Editor.cutout !== undefined
            onClicked: Editor.applyPanelGradient()
        }
        HintText {
            text: "The selection clears once applied. Change colors, angle, blend, or opacity and click Apply again to update the same area; Reselect last area brings the shape back. Ctrl+Z undoes."
        }
    }

    HintText {
        objectName: "toolHint"
        visible: panel.tool !== "Paint" && panel.tool !== "Select" && panel.tool !== "Gradient"
        text: "Choose Paint or Gradient, then work on the canvas."
    }

    component FillSelectionButton: ZPSecondaryButton {
        objectName: "fillSelection"
        text: "Fill selection with brush color"
        symbol: "drop.fill"
        implicitHeight: 36
        onClicked: Editor.fillSelectionWithPaintColor()
    }
}
