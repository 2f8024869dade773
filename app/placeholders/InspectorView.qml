// Stand-in for the inspector (module Zephrin.Inspector, type InspectorView)
// until it arrives: the floating panel with the current tool's title and,
// with showsFooterExport, the export button at its foot.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Shell

Item {
    id: inspector
    property bool showsFooterExport: false
    readonly property var info: Commands.toolInfo(Editor.tool)

    PanelBackground {
        anchors.fill: parent
        cornerRadius: 16
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 20
        spacing: 16

        ZPPanelHeader {
            objectName: "inspectorHeader"
            title: inspector.info.label || ""
            symbol: inspector.info.symbol || ""
        }
        Text {
            Layout.fillWidth: true
            text: Editor.cutoutNote !== "" ? Editor.cutoutNote
                                           : Editor.document === undefined ? "Import an image to begin." : ""
            visible: text !== ""
            font: Theme.bodyFont
            color: Theme.textSecondary
            wrapMode: Text.WordWrap
        }
        Item { Layout.fillHeight: true }
        ZPPrimaryButton {
            objectName: "inspectorExport"
            visible: inspector.showsFooterExport
            Layout.fillWidth: true
            fullWidth: true
            height: 44
            text: "Export"
            symbol: "square.and.arrow.up"
            enabled: Commands.canExport
            onClicked: Commands.openExportSheet()
        }
    }
}
