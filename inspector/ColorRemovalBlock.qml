// The colour half of the hand refine panel's selection block: read the
// dominant colours of the selection (or the whole image), tick them or pick
// them from the image, then remove the ticked colours or keep only them.
// Palette and picks are separate lists in the editor.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Inspector
import Zephrin.Model

ColumnLayout {
    id: block
    readonly property int pickCount: Editor.pickedColors.length
    readonly property bool picking: Editor.canvasTool === "Pick color"
    readonly property var toleranceRange: Editor.settingRange("colorTolerance")

    objectName: "colorBlock"
    spacing: 12

    PanelDivider {}

    RowLayout {
        Layout.fillWidth: true
        spacing: 8
        SectionHeading {
            objectName: "colorsHeading"
            text: RefineText.colorsHeading(Editor.pendingSelection !== undefined)
        }
        Item { Layout.fillWidth: true }
        ZPSecondaryButton {
            objectName: "readColors"
            text: Editor.selectionPalette.length > 0 ? "Refresh" : "Show colors"
            symbol: "paintpalette"
            implicitHeight: 28
            onClicked: Editor.loadSelectionPalette()
        }
    }

    RowLayout {
        objectName: "readingColors"
        visible: Editor.isLoadingPalette
        spacing: 8
        SmallSpinner {}
        PanelHint {
            text: "Reading colors…"
        }
    }

    Grid {
        id: paletteGrid
        objectName: "paletteGrid"
        visible: Editor.selectionPalette.length > 0
        Layout.preferredWidth: block.width
        // As many columns of at least 54 points as fit; the chips share the rest.
        columns: Math.max(1, Math.floor((width + spacing) / (54 + spacing)))
        spacing: 6
        readonly property real chipWidth: (width - (columns - 1) * spacing) / columns
        Repeater {
            model: Editor.selectionPalette
            delegate: PaletteChip {
                required property var modelData
                width: paletteGrid.chipWidth
                entryColor: modelData.color
                share: modelData.share
            }
        }
    }
    PanelHint {
        visible: Editor.selectionPalette.length > 0
        text: "Tick the colors to act on. Best for line art, logos, and flat graphics; photos have too many shades."
    }

    RowLayout {
        spacing: 8
        PickColorButton {}
    }

    ColumnLayout {
        Layout.fillWidth: true
        spacing: 4
        RowLayout {
            Layout.fillWidth: true
            Text {
                objectName: "pickedCount"
                text: RefineText.pickedCountText(block.pickCount)
                font: Theme.captionFont
                color: block.pickCount > 0 ? Theme.textPrimary : Theme.textTertiary
            }
            Item { Layout.fillWidth: true }
            PanelLink {
                objectName: "clearPicks"
                visible: block.pickCount > 0
                text: "Clear picks"
                onClicked: Editor.pickedColors = []
            }
        }
        Flow {
            objectName: "pickedSwatches"
            visible: block.pickCount > 0
            Layout.preferredWidth: block.width
            spacing: 6
            Repeater {
                model: Editor.pickedColors
                delegate: PickedSwatch {
                    required property var modelData
                    required property int index
                    swatchColor: modelData
                    // Swatches are identified by their place in the list.
                    onRemove: {
                        const colors = Editor.pickedColors.slice()
                        colors.splice(index, 1)
                        Editor.pickedColors = colors
                    }
                }
            }
        }
    }

    ZPSliderRow {
        objectName: "colorTolerance"
        Layout.fillWidth: true
        enabled: block.pickCount > 0
        opacity: enabled ? 1 : 0.5
        label: "Tolerance"
        value: Editor.colorTolerance
        from: block.toleranceRange.lower
        to: block.toleranceRange.upper
        stepSize: block.toleranceRange.step
        format: (v) => RefineText.toleranceText(v)
        onMoved: (v) => Editor.colorTolerance = v
    }

    Flow {
        Layout.preferredWidth: block.width
        spacing: 8
        ZPPrimaryButton {
            objectName: "removeColors"
            text: RefineText.removeTitle(block.pickCount)
            symbol: "eraser"
            height: 34
            enabled: block.pickCount >= 1
            onClicked: Editor.removePickedColors(false)
        }
        ZPSecondaryButton {
            objectName: "keepOnly"
            text: "Keep only"
            height: 34
            enabled: block.pickCount >= 1
            opacity: enabled ? 1 : 0.5
            onClicked: Editor.removePickedColors(true)
        }
    }
}
