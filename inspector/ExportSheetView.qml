// Stand-in for the export sheet (module Zephrin.Inspector, type
// ExportSheetView) until it arrives: the format and the long edge, then
// Export, which renders the result and opens the save dialog.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Shell

ColumnLayout {
    id: sheet
    readonly property var sizes: [800, 1200, 1500, 2000, 2400, 3000, 4000]

    spacing: 16

    ZPPanelHeader {
        Layout.topMargin: 24
        Layout.leftMargin: 24
        title: "Export"
        symbol: "square.and.arrow.up"
    }
    ZPChipRow {
        objectName: "formatChips"
        Layout.fillWidth: true
        Layout.leftMargin: 24
        Layout.rightMargin: 24
        options: Commands.exportFormats
        selection: Editor.exportFormat
        onSelected: (option) => Editor.exportFormat = option
    }
    ZPMenuRow {
        objectName: "longEdgeRow"
        Layout.fillWidth: true
        Layout.leftMargin: 24
        Layout.rightMargin: 24
        label: "Long edge"
        options: sheet.sizes.map((n) => n + " px")
        selection: Editor.exportLongEdge + " px"
        onSelected: (option) => Editor.exportLongEdge = parseInt(option)
    }
    RowLayout {
        Layout.fillWidth: true
        Layout.margins: 24
        spacing: 12
        Item { Layout.fillWidth: true }
        ZPSecondaryButton {
            objectName: "cancelExport"
            text: "Cancel"
            height: 36
            onClicked: Editor.showExportSheet = false
        }
        ZPPrimaryButton {
            objectName: "confirmExport"
            text: "Export"
            height: 36
            enabled: Commands.canExport
            onClicked: {
                Editor.showExportSheet = false
                Editor.exportImage()
            }
        }
    }
}
