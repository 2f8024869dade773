// The resize tool's panel: listing presets, trimming with padding, the crop
// (edited on the canvas with the crop tool, then applied here), mirroring,
// the output aspect and shape, the resulting size, and the active preset's
// checklist. Without a cutout the whole panel is dimmed and inert.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model

ColumnLayout {
    id: panel
    readonly property bool hasCutout: Editor.cutout !== undefined
    readonly property var crop: Editor.comp.crop
    readonly property bool editingCrop: Editor.canvasTool === "Crop"

    spacing: 24
    enabled: hasCutout
    opacity: hasCutout ? 1 : 0.6

    ZPPanelHeader {
        title: "Resize"
        symbol: "arrow.up.left.and.arrow.down.right"
    }
    RowLayout {
        Layout.fillWidth: true
        SectionTitle { text: "Preset" }
        Item { Layout.fillWidth: true }
        PresetMenu {}
    }
    HintText {
        text: "Presets set trim, aspect, padding, and export size for common marketplaces."
    }
    Divider {}
    ZPToggleRow {
        objectName: "trimToggle"
        Layout.fillWidth: true
        label: "Trim to subject"
        note: "Crop the canvas to the cutout"
        on: Editor.comp.trimToContent
        onToggled: (on) => Editor.setComp("trimToContent", on)
    }
    SettingSlider {
        objectName: "paddingRow"
        enabled: Editor.comp.trimToContent
        opacity: Editor.comp.trimToContent ? 1 : 0.4
        label: "Padding"
        field: "padding"
        format: (v) => ValueText.wholeWith(v, 1, "%")
    }

    ColumnLayout {
        objectName: "cropBlock"
        Layout.fillWidth: true
        spacing: 8
        RowLayout {
            Layout.fillWidth: true
            SectionTitle { text: "Crop" }
            Item { Layout.fillWidth: true }
            Text {
                objectName: "cropSize"
                visible: panel.crop !== undefined
                text: panel.crop !== undefined
                      ? ValueText.truncatedDimensions(panel.crop.width, panel.crop.height) + " px" : ""
                font: Theme.captionFont
                color: Theme.textSecondary
            }
        }
        ZPMenuRow {
            objectName: "cropAspectRow"
            Layout.fillWidth: true
            visible: panel.editingCrop
            label: "Crop aspect"
            options: Editor.choices("cropAspect")
            selection: Editor.cropAspect
            onSelected: (option) => Editor.cropAspect = option
        }
        Row {
            visible: panel.editingCrop
            spacing: 8
            ZPPrimaryButton {
                objectName: "applyCrop"
                text: "Apply"
                symbol: "checkmark"
                implicitHeight: 34
                enabled: Editor.cropDraft !== undefined
                onClicked: Editor.applyCrop()
            }
            ZPSecondaryButton {
                objectName: "cancelCrop"
                text: "Cancel"
                implicitHeight: 34
                onClicked: Editor.cancelCropEditing()
            }
        }
        HintText {
            visible: panel.editingCrop
            text: "Drag on the image to set the crop. Drag inside to move it, corners to resize."
        }
        ZPSecondaryButton {
            objectName: "startCrop"
            visible: !panel.editingCrop
            text: panel.crop === undefined ? "Crop…" : "Adjust crop…"
            symbol: "crop"
            implicitHeight: 36
            onClicked: Editor.beginCropEditing()
        }
        ZPSecondaryButton {
            objectName: "removeCrop"
            visible: !panel.editingCrop && panel.crop !== undefined
            text: "Remove crop"
            symbol: "xmark"
            implicitHeight: 36
            onClicked: Editor.removeCrop()
        }
    }

    ZPToggleRow {
        objectName: "mirrorToggle"
        Layout.fillWidth: true
        label: "Mirror"
        note: "Flip horizontally for iron-on / HTV"
        on: Editor.comp.mirror
        onToggled: (on) => Editor.setComp("mirror", on)
    }
    Divider {}
    ZPMenuRow {
        objectName: "aspectRow"
        Layout.fillWidth: true
        enabled: Editor.comp.shapeCrop !== "Circle"
        opacity: enabled ? 1 : 0.4
        label: "Aspect ratio"
        options: Editor.choices("aspect")
        selection: Editor.comp.aspect
        onSelected: (option) => Editor.setComp("aspect", option)
    }
    ZPMenuRow {
        objectName: "shapeRow"
        Layout.fillWidth: true
        label: "Shape"
        options: Editor.choices("shapeCrop")
        selection: Editor.comp.shapeCrop
        onSelected: (option) => Editor.setComp("shapeCrop", option)
    }
    SettingSlider {
        objectName: "cornerRadiusRow"
        visible: Editor.comp.shapeCrop === "Rounded"
        label: "Corner radius"
        field: "cornerRadius"
        format: (v) => ValueText.wholeWith(v, 1, "%")
    }
    RowLayout {
        Layout.fillWidth: true
        SectionTitle { text: "Output" }
        Item { Layout.fillWidth: true }
        FixedDigitsText {
            objectName: "outputSize"
            text: Editor.compositeSizeLabel
            font: Theme.bodyFont
            color: Theme.textSecondary
        }
    }
    ComplianceList {}
}
