// The background tool's panel: what stands behind the subject (nothing, a
// colour, the photo's own background or a picture) with its blur and the
// softness of the subject's edge. Every control writes one field of comp.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Pickers

SubjectPanelStack {
    id: panel
    readonly property string mode: Editor.comp.backgroundMode
    // White, black, the accent violet, a warm off-white and a dark slate.
    readonly property var swatches: [
        Qt.rgba(1, 1, 1, 1), Qt.rgba(0, 0, 0, 1),
        Qt.rgba(0.5450980392156862, 0.3607843137254902, 0.9647058823529412, 1),
        Qt.rgba(0.96, 0.94, 0.9, 1), Qt.rgba(0.12, 0.16, 0.24, 1)
    ]

    title: "Background"
    symbol: "photo"

    ZPChipRow {
        objectName: "backgroundModeChips"
        Layout.fillWidth: true
        options: Editor.choices("backgroundMode")
        selection: panel.mode
        onSelected: (option) => Editor.setComp("backgroundMode", option)
    }
    HintText {
        objectName: "transparentNote"
        visible: panel.mode === "Transparent"
        // Every export format that keeps transparency.
        text: "Exports with a transparent background (PNG, WebP, HEIC, SVG)."
    }
    ZPColorRow {
        objectName: "fillColorRow"
        Layout.fillWidth: true
        visible: panel.mode === "Color"
        label: "Fill color"
        color: Editor.comp.backgroundColor
        onPicked: (c) => Editor.setComp("backgroundColor", c)
    }
    SwatchRow {
        objectName: "backgroundSwatches"
        visible: panel.mode === "Color"
        colors: panel.swatches
        onPicked: (c) => Editor.setComp("backgroundColor", c)
    }
    HintText {
        objectName: "originalNote"
        visible: panel.mode === "Original"
        text: "Keeps the photo's own background; effects below apply to it."
    }
    SettingSlider {
        objectName: "backgroundBlurRow"
        visible: panel.mode === "Original" || panel.mode === "Image"
        label: "Background blur"
        field: "backgroundBlur"
        format: (v) => ValueText.offBelowHalf(v, ValueText.wholeWith(v, 1, " px"))
    }
    SettingSlider {
        objectName: "edgeBlendRow"
        visible: panel.mode === "Color" || panel.mode === "Image"
        label: "Edge blend"
        field: "edgeBlend"
        format: (v) => ValueText.offBelowHalf(v, ValueText.wholeWith(v, 1, "%"))
    }
    Loader {
        objectName: "backdropPicker"
        Layout.fillWidth: true
        active: panel.mode === "Image"
        visible: active
        // The pickers' backdrop chooser: generated, photo and saved backdrops.
        sourceComponent: BackdropPickerView {}
    }
}
