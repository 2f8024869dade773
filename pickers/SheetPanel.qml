// The sticker-sheet tool's panel: collect designs from the current result,
// size and count them, choose paper and cutter region, border, bleed and
// spacing, see whether every copy fits, and export the print image and its
// cut file. It keeps no state: everything is the editor's, which lays the
// sheet out again after each change by itself. A drop the editor refuses on
// the canvas is explained under the list, which the panel asks to be seen.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Pickers
import Zephrin.Shell

ColumnLayout {
    id: panel
    spacing: 24

    readonly property var settings: Editor.sheetSettings
    readonly property bool hasItems: Editor.sheetItemList.count > 0
    readonly property var layout: Editor.sheetLayout

    signal reveal(Item item)

    Connections {
        target: Editor
        function onStickerPinRefused() {
            // Where the line stands once the column has made room for it.
            Qt.callLater(() => {
                panel.ensurePolished()
                panel.reveal(notice)
            })
        }
    }

    ZPPanelHeader {
        title: "Sticker Sheet"
        symbol: "rectangle.grid.2x2"
    }

    ColumnLayout {
        Layout.fillWidth: true
        spacing: 8
        ZPPrimaryButton {
            objectName: "sheetAdd"
            text: "Add Current Cutout"
            symbol: "plus"
            fullWidth: true
            height: 40
            enabled: SheetPanelTexts.addEnabled(Editor.cutout !== undefined)
            onClicked: Editor.addToStickerSheet()
        }
        Text {
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            text: "Uses the result as shown (with any background, outline, or shadow). Import another image to add a different design."
            font: Theme.captionFont
            color: Theme.textTertiary
        }
    }

    Text {
        objectName: "sheetNoItems"
        visible: !panel.hasItems
        text: "No stickers yet."
        font: Theme.bodyFont
        color: Theme.textSecondary
    }

    ColumnLayout {
        objectName: "sheetList"
        visible: panel.hasItems
        Layout.fillWidth: true
        spacing: 8
        Repeater {
            model: Editor.sheetItemList
            delegate: StickerRow {
                required property var model
                required property string itemID
                Layout.fillWidth: true
                objectName: "stickerRow:" + itemID
                name: model.name
                image: model.image
                widthInches: model.widthInches
                count: model.count
                onWidthEdited: inches => model.widthInches = inches
                onCountEdited: n => model.count = n
                onRemoved: Editor.removeSheetItem(itemID)
            }
        }
    }

    RowLayout {
        objectName: "sheetStatus"
        visible: panel.hasItems && Editor.sheetRender
        spacing: 8
        readonly property bool ok: SheetPanelTexts.allPlaced(panel.layout.placedCount || 0,
                                                             panel.layout.requestedCount || 0)
        ZPIcon {
            objectName: "sheetStatusSymbol"
            symbol: parent.ok ? "checkmark.circle" : "exclamationmark.triangle"
            color: parent.ok ? Theme.success : Theme.accentPink
            size: 13
        }
        Text {
            objectName: "sheetStatusText"
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            text: SheetPanelTexts.packingStatus(panel.layout.placedCount || 0, panel.layout.requestedCount || 0)
            font: Theme.captionFont
            color: Theme.textSecondary
        }
    }

    Text {
        objectName: "sheetHint"
        visible: panel.hasItems
        Layout.fillWidth: true
        wrapMode: Text.WordWrap
        text: "Drag stickers on the sheet to arrange them by hand."
        font: Theme.captionFont
        color: Theme.textTertiary
    }

    Text {
        id: notice
        objectName: "sheetNotice"
        visible: panel.hasItems && Editor.sheetNotice !== ""
        Layout.fillWidth: true
        wrapMode: Text.WordWrap
        text: Editor.sheetNotice
        font: Theme.captionFont
        color: Theme.accentPink
    }

    RowLayout {
        visible: panel.hasItems
        Layout.fillWidth: true
        ZPSecondaryButton {
            objectName: "sheetRepack"
            visible: Object.keys(Editor.sheetPins).length > 0
            text: "Re-pack"
            symbol: "arrow.triangle.2.circlepath"
            height: 36
            onClicked: {
                if (Editor.sheetNotice !== "")
                    Editor.sheetNotice = ""
                Editor.sheetPins = ({})
            }
        }
        Item { Layout.fillWidth: true }
        ZPSecondaryButton {
            objectName: "sheetClear"
            text: "Clear sheet"
            symbol: "trash"
            height: 36
            onClicked: Commands.clearSheet()
        }
    }

    Rectangle {
        Layout.fillWidth: true
        implicitHeight: 1
        color: Theme.border
    }

    ZPMenuRow {
        objectName: "sheetPaper"
        Layout.fillWidth: true
        label: "Paper"
        options: SheetPanelTexts.paperOptions
        selection: panel.settings.paper
        onSelected: option => Editor.setSheetSetting("paper", option)
    }

    ColumnLayout {
        Layout.fillWidth: true
        spacing: 4
        ZPMenuRow {
            objectName: "sheetCutter"
            Layout.fillWidth: true
            label: "Cutter"
            options: SheetPanelTexts.regionOptions
            selection: panel.settings.region
            onSelected: option => Editor.setSheetSetting("region", option)
        }
        Text {
            objectName: "sheetRegionNote"
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            text: SheetPanelTexts.regionNote(panel.settings.region, panel.settings.paper)
            font: Theme.captionFont
            color: Theme.textTertiary
        }
    }

    ZPSliderRow {
        objectName: "sheetBorder"
        Layout.fillWidth: true
        label: "Border"
        from: 0
        to: 0.3
        stepSize: 0.01
        value: panel.settings.borderInches
        format: v => SheetPanelTexts.borderText(v)
        onMoved: v => Editor.setSheetSetting("borderInches", v)
    }
    ZPSliderRow {
        objectName: "sheetBleed"
        Layout.fillWidth: true
        label: "Bleed"
        from: 0
        to: 0.1
        stepSize: 0.005
        value: panel.settings.bleedInches
        format: v => SheetPanelTexts.bleedText(v)
        onMoved: v => Editor.setSheetSetting("bleedInches", v)
    }
    ZPSliderRow {
        objectName: "sheetSpacing"
        Layout.fillWidth: true
        label: "Spacing"
        from: 0.03
        to: 0.5
        stepSize: 0.01
        value: panel.settings.spacingInches
        format: v => SheetPanelTexts.spacingText(v)
        onMoved: v => Editor.setSheetSetting("spacingInches", v)
    }

    ZPColorRow {
        objectName: "sheetBorderColor"
        Layout.fillWidth: true
        label: "Border color"
        color: panel.settings.borderColor
        onPicked: c => Editor.setSheetSetting("borderColor", c)
    }

    ZPToggleRow {
        objectName: "sheetCutLines"
        Layout.fillWidth: true
        label: "Show cut lines"
        note: "Preview only; not printed"
        on: panel.settings.showCutLines
        onToggled: on => Editor.setSheetSetting("showCutLines", on)
    }

    Rectangle {
        Layout.fillWidth: true
        implicitHeight: 1
        color: Theme.border
    }

    ColumnLayout {
        Layout.fillWidth: true
        spacing: 8
        Text {
            objectName: "sheetExportRefusal"
            visible: text !== ""
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            text: Editor.sheetExportRefusal
            font: Theme.captionFont
            color: Theme.accentPink
        }
        ZPPrimaryButton {
            objectName: "sheetExportPNG"
            text: "Export Sheet PNG"
            symbol: "printer"
            fullWidth: true
            // A layout sizes its items by their implicit size.
            implicitHeight: 44
            enabled: SheetPanelTexts.exportPNGEnabled(Editor.sheetExportable, Editor.isProcessing)
            onClicked: Editor.exportStickerSheetPNG()
        }
        Text {
            objectName: "sheetExportNote"
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            text: SheetPanelTexts.exportNote(panel.settings.dpi)
            font: Theme.captionFont
            color: Theme.textTertiary
        }
        ZPSecondaryButton {
            objectName: "sheetExportSVG"
            text: "Export Cut Lines SVG"
            symbol: "scissors"
            height: 36
            enabled: SheetPanelTexts.exportSVGEnabled(Editor.sheetExportable)
            opacity: enabled ? 1 : 0.5
            onClicked: Editor.exportStickerSheetCutSVG()
        }
        Text {
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            text: "Kiss-cut outlines in inches, for Silhouette Studio or any cutter that takes a separate cut file."
            font: Theme.captionFont
            color: Theme.textTertiary
        }
    }

    Text {
        objectName: "sheetError"
        visible: Editor.sheetError !== ""
        Layout.fillWidth: true
        wrapMode: Text.WordWrap
        text: Editor.sheetError
        font: Theme.captionFont
        color: Theme.accentPink
    }
}
