// The selection block of the panels that work on an area: the shape chips
// while nothing is selected, the outline's progress while one is placed, and
// the pending selection's status with "Clear selection" once there is one.
//   noSelectionHint: appended, after a blank, to the shape hint ("" for none)
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model

ColumnLayout {
    id: block
    property string noSelectionHint: ""
    readonly property bool selected: Editor.pendingSelection !== undefined
    readonly property bool placingOutline: !selected && Editor.isPolygonInProgress
    readonly property int corners: Editor.liveStroke.length

    Layout.fillWidth: true
    spacing: 8

    // Discards the selection: unlike using it up, this keeps the last area.
    function clear() {
        if (Editor.pendingSelection !== undefined)
            Editor.pendingSelection = undefined
        Editor.liveStroke = []
        Editor.gradientLine = undefined
        Editor.selectionPalette = []
    }

    RowLayout {
        visible: block.selected
        Layout.fillWidth: true
        spacing: 8
        ZPIcon { symbol: "checkmark.circle.fill"; size: 12; color: Theme.success }
        Text {
            objectName: "selectionStatus"
            text: Editor.pendingKind + " selected"
            font: Theme.captionFont
            color: Theme.textSecondary
        }
        Item { Layout.fillWidth: true }
        LinkButton {
            objectName: "clearSelection"
            text: "Clear selection"
            onClicked: block.clear()
        }
    }
    HintText {
        visible: block.selected
        text: (Editor.pendingKind === "Lasso" || Editor.pendingKind === "Outline")
              && Editor.pendingSelection !== undefined && Editor.pendingSelection.length >= 3
              ? "Drag the corner handles to scale it, or drag inside to move it. Esc clears."
              : "Drag the handles to resize, or drag inside to move it. Esc clears."
    }

    RowLayout {
        visible: block.placingOutline
        Layout.fillWidth: true
        spacing: 8
        ZPIcon { symbol: "pencil.and.outline"; size: 12; color: Theme.accentLight }
        Text {
            text: block.corners + (block.corners === 1 ? " corner placed" : " corners placed")
            font: Theme.captionFont
            color: Theme.textSecondary
        }
        Item { Layout.fillWidth: true }
        ZPSecondaryButton {
            text: "Close outline"
            symbol: "checkmark"
            implicitHeight: 28
            enabled: block.corners >= 3
            onClicked: Editor.closePolygon()
        }
        ZPIconButton {
            symbol: "xmark"
            label: "Cancel outline"
            size: 28
            onClicked: block.clear()
        }
    }
    HintText {
        visible: block.placingOutline
        text: "Keep clicking around the part. Click the first corner, double-click, or press Close outline to finish."
    }

    ZPChipRow {
        visible: !block.selected && !block.placingOutline
        Layout.fillWidth: true
        options: Editor.choices("selectionKind")
        selection: Editor.selectionKind
        onSelected: (option) => Editor.selectionKind = option
    }
    HintText {
        objectName: "selectionHint"
        visible: !block.selected && !block.placingOutline
        readonly property string kindHint: Editor.selectionKind === "Lasso" ? "Draw freehand around the part."
            : Editor.selectionKind === "Outline"
              ? "Click corner by corner around the part — best for precise areas like one arm."
              : "Drag out the shape on the image."
        text: block.noSelectionHint === "" ? kindHint : kindHint + " " + block.noSelectionHint
    }
    ZPSecondaryButton {
        visible: !block.selected && !block.placingOutline && Editor.lastSelection !== undefined
        text: "Reselect last area"
        symbol: "arrow.uturn.backward"
        implicitHeight: 30
        onClicked: Editor.reselectLastSelection()
    }
}
