// The cutout tool's panel: how the subject is found (method and model), the
// run and line-art buttons, the guided cut or the flat-colour keying, the
// edge refinement, and the hand refine tools. Every control writes the
// editor; the editor's observers re-render, re-key and record history.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Inspector
import Zephrin.Model

PanelStack {
    id: panel
    readonly property bool isFlat: Editor.cutoutMethod === "Flat Color"
    readonly property bool canRun: Editor.document !== undefined && !Editor.isProcessing
    readonly property bool hasMatte: Editor.matte !== undefined
    readonly property var featherRange: Editor.settingRange("feather")
    readonly property var decontaminateRange: Editor.settingRange("decontaminate")
    readonly property var toleranceRange: Editor.settingRange("flatTolerance")
    readonly property var closeGapsRange: Editor.settingRange("flatCloseGaps")

    spacing: 24

    // Asks the inspector to scroll `item`, a row of this panel, into view.
    signal reveal(Item item)

    ZPPanelHeader {
        title: "Smart Cutout"
        symbol: "sparkles"
    }

    ColumnLayout {
        Layout.fillWidth: true
        spacing: 8
        ZPChipRow {
            objectName: "methodChips"
            Layout.fillWidth: true
            options: Editor.choices("cutoutMethod")
            selection: Editor.cutoutMethod
            onSelected: (option) => Editor.cutoutMethod = option
        }
        PanelHint {
            objectName: "methodDescription"
            text: CutoutText.methodDescription(Editor.cutoutMethod)
        }
    }

    ColumnLayout {
        objectName: "modelBlock"
        visible: !panel.isFlat
        Layout.fillWidth: true
        spacing: 8
        PanelHint { text: "Model" }
        ZPChipRow {
            objectName: "modelChips"
            visible: Editor.availableMatteModels.length >= 2
            Layout.fillWidth: true
            options: Editor.availableMatteModels
            selection: Editor.matteModel
            onSelected: (option) => Editor.matteModel = option
        }
        PanelHint {
            objectName: "modelUnavailable"
            visible: Editor.availableMatteModels.length < 2
            text: CutoutText.modelUnavailable()
            color: Theme.textSecondary
        }
        PanelHint {
            objectName: "modelDescription"
            text: CutoutText.modelDescription(Editor.matteModel)
        }
    }

    ZPPrimaryButton {
        objectName: "runCutout"
        text: CutoutText.runTitle(Editor.cutoutMethod)
        fullWidth: true
        implicitHeight: 44
        enabled: panel.canRun
        // The method at the moment of the press decides, not the title.
        onClicked: {
            if (Editor.cutoutMethod === "Flat Color")
                Editor.runFlatColor()
            else
                Editor.runAutoSubject()
        }
    }

    Rectangle {
        objectName: "cutoutNote"
        visible: Editor.cutoutNote !== ""
        Layout.fillWidth: true
        implicitHeight: noteRow.implicitHeight + 24
        radius: 8
        color: Theme.surface
        RowLayout {
            id: noteRow
            x: 12
            y: 12
            width: parent.width - 24
            spacing: 8
            ZPIcon {
                Layout.alignment: Qt.AlignTop
                symbol: "info.circle"
                size: 12
                color: Theme.accentLight
            }
            PanelHint {
                objectName: "cutoutNoteText"
                text: Editor.cutoutNote
                color: Theme.textSecondary
            }
        }
    }

    // The fill suggestion sits under the run button, where the eye is when a
    // cutout lands, and is scrolled into view should the panel be scrolled away.
    Rectangle {
        id: fillSuggestion
        objectName: "fillSuggestion"
        visible: Editor.suggestFillHoles && !Editor.fillHoles
        Layout.fillWidth: true
        implicitHeight: suggestionRow.implicitHeight + 16
        radius: 8
        color: Theme.control
        onVisibleChanged: if (visible) Qt.callLater(() => panel.reveal(fillSuggestion))
        RowLayout {
            id: suggestionRow
            x: 8
            y: 8
            width: parent.width - 16
            spacing: 8
            ZPIcon {
                symbol: "lightbulb"
                size: 12
                color: Theme.accentLight
            }
            PanelHint {
                text: "Translucent areas found inside the subject."
                color: Theme.textSecondary
            }
            PanelLink {
                objectName: "fillSuggestionButton"
                text: "Fill"
                onClicked: Editor.fillHoles = true
            }
        }
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 8
        ZPSecondaryButton {
            objectName: "lineArtPreset"
            Layout.alignment: Qt.AlignTop
            text: "Line art preset"
            symbol: "pencil.and.scribble"
            implicitHeight: 34
            enabled: panel.canRun
            opacity: enabled ? 1 : 0.4
            onClicked: Editor.applyLineArtPreset()
        }
        PanelHint {
            objectName: "lineArtHint"
            text: "For ink drawings and logos: keys out the background color everywhere, white inside shapes too. Removes anti-aliased fringe and sets Feather 0 / Decontaminate off / Contrast edges."
        }
    }

    GuidedCutSection {
        visible: !panel.isFlat
        Layout.fillWidth: true
    }

    // Flat Color: each control is a row of the stack itself.
    ZPSliderRow {
        objectName: "flatTolerance"
        visible: panel.isFlat
        Layout.fillWidth: true
        label: "Tolerance"
        value: Editor.flatTolerance
        from: panel.toleranceRange.lower
        to: panel.toleranceRange.upper
        stepSize: panel.toleranceRange.step
        format: (v) => CutoutText.toleranceText(v)
        onMoved: (v) => Editor.flatTolerance = v
    }
    ZPToggleRow {
        objectName: "flatEdgesOnly"
        visible: panel.isFlat
        Layout.fillWidth: true
        label: "Edges only"
        note: "Keep enclosed areas that match the background (letter counters, negative space)"
        on: Editor.flatConnectedOnly
        onToggled: (on) => Editor.flatConnectedOnly = on
    }
    ZPSliderRow {
        objectName: "flatCloseGaps"
        visible: panel.isFlat && Editor.flatConnectedOnly
        Layout.fillWidth: true
        label: "Close gaps"
        value: Editor.flatCloseGaps
        from: panel.closeGapsRange.lower
        to: panel.closeGapsRange.upper
        stepSize: panel.closeGapsRange.step
        format: (v) => CutoutText.closeGapsText(v)
        onMoved: (v) => Editor.flatCloseGaps = v
    }
    PanelHint {
        objectName: "closeGapsHint"
        visible: panel.isFlat && Editor.flatConnectedOnly
        text: "Treats small openings in outlines as closed, so white areas inside line art stay with the subject."
    }

    ColumnLayout {
        Layout.fillWidth: true
        spacing: 12
        SectionHeading {
            text: "Edge Refine"
            help: "Smooth rounds the edge and removes specks. Detail keeps hair and fine strands. Contrast hardens the edge."
        }
        RowLayout {
            Layout.fillWidth: true
            spacing: 8
            Repeater {
                model: Editor.choices("edgeMode")
                delegate: ZPOptionCard {
                    required property string modelData
                    objectName: "edge:" + modelData
                    text: CutoutText.edgeTitle(modelData)
                    symbol: CutoutText.edgeSymbol(modelData)
                    selected: Editor.edgeMode === modelData
                    // Also the selected card: the editor re-renders.
                    onClicked: Editor.edgeMode = modelData
                }
            }
        }
    }

    ZPToggleRow {
        objectName: "fillHoles"
        Layout.fillWidth: true
        label: "Fill holes"
        note: "Make translucent interior areas solid"
        on: Editor.fillHoles
        onToggled: (on) => Editor.fillHoles = on
    }

    ZPSliderRow {
        objectName: "feather"
        Layout.fillWidth: true
        label: "Feather"
        value: Editor.feather
        from: panel.featherRange.lower
        to: panel.featherRange.upper
        stepSize: panel.featherRange.step
        format: (v) => CutoutText.featherText(v)
        onMoved: (v) => Editor.feather = v
        onCommitted: Editor.commitHistory()
    }

    ColumnLayout {
        objectName: "decontaminateBlock"
        Layout.fillWidth: true
        spacing: 8
        enabled: panel.hasMatte
        opacity: panel.hasMatte ? 1 : 0.6
        RowLayout {
            Layout.fillWidth: true
            SectionHeading {
                text: "Decontaminate"
                help: "Removes background color bleeding into the edge pixels."
            }
            Item { Layout.fillWidth: true }
            ZPToggle {
                objectName: "decontaminateSwitch"
                on: Editor.decontaminateEnabled
                showsLabel: true
                Accessible.name: "Decontaminate"
                onToggled: (on) => Editor.decontaminateEnabled = on
            }
        }
        RowLayout {
            objectName: "decontaminateSlider"
            Layout.fillWidth: true
            spacing: 12
            enabled: Editor.decontaminateEnabled
            opacity: enabled ? 1 : 0.4
            ZPSlider {
                Layout.fillWidth: true
                value: Editor.decontaminate
                from: panel.decontaminateRange.lower
                to: panel.decontaminateRange.upper
                stepSize: panel.decontaminateRange.step
                Accessible.name: "Decontaminate amount"
                onMoved: (v) => Editor.decontaminate = v
                onCommitted: Editor.commitHistory()
            }
            Text {
                objectName: "decontaminateValue"
                Layout.preferredWidth: 40
                horizontalAlignment: Text.AlignRight
                text: CutoutText.decontaminateText(Editor.decontaminate)
                font: Theme.bodyFont
                color: Theme.textSecondary
            }
        }
    }

    PanelDivider {}

    HandRefinePanel {
        objectName: "handRefine"
        Layout.fillWidth: true
        enabled: panel.hasMatte
        opacity: panel.hasMatte ? 1 : 0.6
    }
}
