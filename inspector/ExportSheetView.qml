// The export sheet: format, the SVG tracing options or the image's quality
// and transparency, the long edge (with the size a picture format writes),
// the active preset's requirement summary and the Export button. Every
// control writes the editor's export settings, so a choice is still there
// next time; Export leaves the sheet open, also while the save dialog is.
// Its height does not change with the format.
// From the keyboard: the keys start in the sheet itself, Tab walks its
// controls (each shows its focus, and Space presses only that one), and
// Return or Enter presses Export wherever the focus is.
// The window presents it while Editor.showExportSheet is set; Close clears
// that flag.
//   sizes, availableFormats, colorChoices: the menus' and chips' entries
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Inspector
import Zephrin.Model

ColumnLayout {
    id: sheet
    property var sizes: [800, 1200, 1500, 2000, 2400, 3000, 4000]
    property var availableFormats: ["PNG", "JPG", "WebP", "HEIC", "SVG"]
    property var colorChoices: [1, 2, 4, 6, 8, 12, 16]
    readonly property string format: Editor.exportFormat
    readonly property bool isVector: ExportRules.isVector(format)

    spacing: 16
    focus: true

    function exportNow() {
        if (!confirm.enabled)
            return
        if (Editor.exportDestination !== "files")
            Editor.exportDestination = "files"
        Editor.exportImage()
    }
    // A held key repeats: one press, one export.
    Keys.onReturnPressed: (event) => { if (!event.isAutoRepeat) exportNow() }
    Keys.onEnterPressed: (event) => { if (!event.isAutoRepeat) exportNow() }

    // The long edge: both the picture formats and tracing have one.
    component SizeRow: ZPMenuRow {
        Layout.fillWidth: true
        readonly property var titles: sheet.sizes.map((n) => ExportRules.sizeTitle(n))
        label: "Size"
        options: titles
        selection: ExportRules.sizeTitle(Editor.exportLongEdge)
        onSelected: (option) => {
            const size = sheet.sizes[titles.indexOf(option)]
            if (size !== undefined && size !== Editor.exportLongEdge)
                Editor.exportLongEdge = size
        }
    }

    // What the file will measure, under either Size row.
    component SizeNote: PanelHint {
        readonly property var note: ExportRules.sizeNote(Editor.exportSize, Editor.exportLongEdge,
                                                          sheet.format, Editor.activePreset)
        visible: text !== ""
        Layout.topMargin: -8
        text: note.text
        color: note.short ? Theme.accentPink : Theme.textTertiary
    }

    // The 24-point margin on every edge.
    Item { Layout.preferredHeight: 24 - sheet.spacing }

    RowLayout {
        Layout.fillWidth: true
        Layout.leftMargin: 24
        Layout.rightMargin: 24
        Text {
            text: "Export"
            font: Theme.titleFont
            color: Theme.textPrimary
            Accessible.role: Accessible.Heading
        }
        Item { Layout.fillWidth: true }
        ZPIconButton {
            objectName: "closeExportSheet"
            symbol: "xmark"
            label: "Close"
            size: 36
            onClicked: Editor.showExportSheet = false
        }
    }

    ZPChipRow {
        objectName: "formatChips"
        Layout.fillWidth: true
        Layout.leftMargin: 24
        Layout.rightMargin: 24
        options: sheet.availableFormats
        selection: sheet.format
        onSelected: (option) => Editor.exportFormat = option
    }

    // The rows of the format, in a block as tall as the tallest format's,
    // so that changing the format moves neither the chips nor the button.
    Item {
        objectName: "formatOptions"
        Layout.fillWidth: true
        Layout.leftMargin: 24
        Layout.rightMargin: 24
        implicitHeight: Math.max(rasterRows.implicitHeight, vectorRows.implicitHeight)

        // Quality and transparency, and what the file will measure.
        ColumnLayout {
            id: rasterRows
            width: parent.width
            visible: !sheet.isVector
            spacing: sheet.spacing

            PanelHint {
                objectName: "webpNote"
                visible: ExportRules.showsWebPNote(sheet.format)
                text: "WebP keeps transparency at a fraction of PNG's size. Quality 100 is lossless."
            }

            SizeRow { objectName: "sizeRow" }

            SizeNote { objectName: "sizeNote" }

            ZPSliderRow {
                objectName: "qualityRow"
                Layout.fillWidth: true
                readonly property var range: Editor.settingRange("exportQuality")
                enabled: ExportRules.qualityEnabled(sheet.format)
                opacity: enabled ? 1 : 0.4
                label: "Quality"
                value: Editor.exportQuality
                from: range.lower
                to: range.upper
                stepSize: range.step
                format: (v) => ExportRules.qualityText(v)
                onMoved: (v) => Editor.exportQuality = v
            }

            RowLayout {
                id: transparencyRow
                objectName: "transparencyRow"
                Layout.fillWidth: true
                enabled: ExportRules.transparencyEnabled(sheet.format, Editor.resultOpaque)
                opacity: enabled ? 1 : 0.4
                Text {
                    text: "Transparent Background"
                    font: Theme.headlineFont
                    color: Theme.textPrimary
                }
                Item { Layout.fillWidth: true }
                ZPToggle {
                    objectName: "transparencySwitch"
                    // Where nothing can stay transparent the switch says so; the
                    // choice is kept for when it applies again.
                    on: Editor.transparentBackground && transparencyRow.enabled
                    showsLabel: true
                    Accessible.name: "Transparent Background"
                    onToggled: (on) => Editor.transparentBackground = on
                }
            }
        }

        // The tracing options.
        ColumnLayout {
            id: vectorRows
            width: parent.width
            visible: sheet.isVector
            spacing: sheet.spacing

            ColumnLayout {
                objectName: "traceBlock"
                Layout.fillWidth: true
                spacing: 8
                SectionHeading { text: "Trace" }
                ZPChipRow {
                    objectName: "traceChips"
                    Layout.fillWidth: true
                    options: Editor.choices("svgSource")
                    selection: Editor.svgSource
                    onSelected: (option) => Editor.svgSource = option
                }
                PanelHint {
                    text: "Shape follows the cutout edge (photos). Ink follows dark strokes (line art, logos). Auto picks."
                }
            }

            ZPMenuRow {
                objectName: "colorsRow"
                Layout.fillWidth: true
                readonly property var titles: sheet.colorChoices.map((n) => ExportRules.colorsTitle(n))
                label: "Colors"
                options: titles
                selection: ExportRules.colorsTitle(Editor.svgColors)
                menuEnabled: !Editor.svgFileMaker
                onSelected: (option) => {
                    const colors = sheet.colorChoices[titles.indexOf(option)]
                    if (colors !== undefined && colors !== Editor.svgColors)
                        Editor.svgColors = colors
                }
            }

            ZPSliderRow {
                objectName: "detailRow"
                Layout.fillWidth: true
                label: "Detail"
                value: Editor.svgDetail
                from: 0
                to: 1
                stepSize: 0.05
                format: (v) => ExportRules.detailText(v)
                onMoved: (v) => Editor.svgDetail = v
            }

            RowLayout {
                objectName: "fileMakerRow"
                Layout.fillWidth: true
                ColumnLayout {
                    spacing: 2
                    Text {
                        text: "FileMaker icon"
                        font: Theme.headlineFont
                        color: Theme.textPrimary
                    }
                    PanelHint {
                        Layout.fillWidth: false
                        text: "Single color, fm_fill class, square viewBox"
                    }
                }
                Item { Layout.fillWidth: true }
                ZPToggle {
                    objectName: "fileMakerSwitch"
                    on: Editor.svgFileMaker
                    showsLabel: true
                    Accessible.name: "FileMaker icon"
                    onToggled: (on) => Editor.svgFileMaker = on
                }
            }

            // The drawing's size, which also sets how finely it is traced.
            SizeRow { objectName: "traceSizeRow" }
            SizeNote { objectName: "traceSizeNote" }
        }
    }

    PanelHint {
        objectName: "exportError"
        visible: Editor.lastError !== ""
        Layout.leftMargin: 24
        Layout.rightMargin: 24
        text: Editor.lastError
        color: Theme.accentPink
    }

    RowLayout {
        objectName: "requirementSummary"
        visible: Editor.activePreset !== undefined
        Layout.fillWidth: true
        Layout.leftMargin: 24
        Layout.rightMargin: 24
        spacing: 8
        readonly property var summary: visible
            ? ExportRules.requirementSummary(Editor.complianceItems || [], Editor.activePreset) : ({})
        ZPIcon {
            symbol: parent.summary.symbol || ""
            size: 12
            color: parent.summary.met ? Theme.success : Theme.accentPink
        }
        PanelHint {
            objectName: "requirementText"
            text: parent.summary.text || ""
            color: Theme.textSecondary
        }
    }

    ZPPrimaryButton {
        id: confirm
        objectName: "confirmExport"
        Layout.topMargin: 8
        Layout.leftMargin: 24
        Layout.rightMargin: 24
        text: ExportRules.exportTitle(sheet.format)
        symbol: "square.and.arrow.up"
        fullWidth: true
        implicitHeight: 48
        enabled: Editor.cutout !== undefined && !Editor.isProcessing
        onClicked: sheet.exportNow()
    }

    Item { Layout.preferredHeight: 24 - sheet.spacing }
}
