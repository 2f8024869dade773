// The selection block of the panels that work on an area: while a
// selection is pending, its status and how to reshape it; while an outline
// is being placed, its progress with Close and Cancel; otherwise the shape
// chips, the shape's hint and "Reselect last area". The rows take the
// host's spacing; the selection itself is drawn on the canvas.
//   noSelectionHint: added after the shape's hint while nothing is selected
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Inspector
import Zephrin.Model

ColumnLayout {
    id: controls
    property string noSelectionHint: ""
    readonly property var pending: Editor.pendingSelection
    readonly property string blockState: SelectionText.blockState(pending !== undefined, Editor.isPolygonInProgress)

    objectName: "selectionControls"
    spacing: 12

    // Discards the selection or outline: it does not become the last area.
    function clearSelection() {
        if (Editor.pendingSelection !== undefined)
            Editor.pendingSelection = undefined
        Editor.liveStroke = []
        Editor.gradientLine = undefined
        Editor.selectionPalette = []
    }

    // A selection is pending.
    RowLayout {
        objectName: "selectionStatus"
        visible: controls.blockState === "selected"
        Layout.fillWidth: true
        spacing: 8
        ZPIcon {
            symbol: "checkmark.circle.fill"
            size: 12
            color: Theme.success
        }
        Text {
            objectName: "selectionStatusText"
            text: SelectionText.selectedStatus(Editor.pendingKind)
            font: Theme.captionFont
            color: Theme.textSecondary
        }
        Item { Layout.fillWidth: true }
        PanelLink {
            objectName: "clearSelection"
            text: "Clear selection"
            onClicked: controls.clearSelection()
        }
    }
    PanelHint {
        objectName: "selectionHint"
        visible: controls.blockState === "selected"
        text: SelectionText.selectedHint(Editor.pendingKind, controls.pending ? controls.pending.length : 0)
    }

    // An outline is being placed.
    RowLayout {
        objectName: "outlineProgress"
        visible: controls.blockState === "outline"
        Layout.fillWidth: true
        spacing: 8
        ZPIcon {
            symbol: "pencil.and.outline"
            size: 12
            color: Theme.accentLight
        }
        // Takes what the buttons leave and wraps there: a row wider than
        // the column would widen the whole panel past its edge.
        Text {
            objectName: "outlineCorners"
            Layout.fillWidth: true
            text: SelectionText.cornersPlaced(Editor.liveStroke.length)
            font: Theme.captionFont
            color: Theme.textSecondary
            wrapMode: Text.WordWrap
        }
        ZPSecondaryButton {
            objectName: "closeOutline"
            text: "Close outline"
            symbol: "checkmark"
            implicitHeight: 28
            enabled: Editor.liveStroke.length >= 3
            opacity: enabled ? 1 : 0.4
            onClicked: Editor.closePolygon()
        }
        ZPIconButton {
            objectName: "cancelOutline"
            symbol: "xmark"
            label: "Cancel outline"
            size: 28
            onClicked: controls.clearSelection()
        }
    }
    PanelHint {
        visible: controls.blockState === "outline"
        text: "Keep clicking around the part. Click the first corner, double-click, or press Close outline to finish."
    }

    // Nothing selected: choose the shape of the next selection.
    ZPChipRow {
        objectName: "shapeChips"
        visible: controls.blockState === "choosing"
        Layout.fillWidth: true
        options: Editor.choices("selectionKind")
        selection: Editor.selectionKind
        onSelected: (option) => Editor.selectionKind = option
    }
    PanelHint {
        objectName: "shapeHint"
        visible: controls.blockState === "choosing"
        text: SelectionText.choosingHint(Editor.selectionKind, controls.noSelectionHint)
    }
    ZPSecondaryButton {
        objectName: "reselectLastArea"
        visible: controls.blockState === "choosing" && Editor.lastSelection !== undefined
        text: "Reselect last area"
        symbol: "arrow.uturn.backward"
        implicitHeight: 30
        onClicked: Editor.reselectLastSelection()
    }
}
