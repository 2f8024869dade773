// The control column of batch mode: the queue's header and progress, adding
// files, the output every image gets, running and cancelling, and exporting
// every result into a folder. Everything it shows follows Editor.batch; the
// texts come from BatchRules. Its file dialogs (many images at once, the
// folder for Export All) are the window's, raised by the batch's flags.
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Shell
import Zephrin.Pickers

Item {
    id: panel
    readonly property var batch: Editor.batch

    PanelBackground {
        anchors.fill: parent
        cornerRadius: 16
    }

    ScrollView {
        id: scroller
        anchors.fill: parent
        clip: true
        contentWidth: availableWidth
        contentHeight: column.implicitHeight + 32
        ScrollBar.vertical.policy: ScrollBar.AsNeeded

        ColumnLayout {
            id: column
            x: 16
            y: 16
            width: scroller.availableWidth - 32
            spacing: 16

            // Header. The count is anchored at the right, not laid out: in a
            // row that first showed after it appeared (the queue filled while
            // the batch was out of view) it was left at the start, over the icon.
            Item {
                Layout.fillWidth: true
                implicitHeight: titleRow.implicitHeight
                RowLayout {
                    id: titleRow
                    anchors.left: parent.left
                    anchors.verticalCenter: parent.verticalCenter
                    spacing: 8
                    ZPIcon {
                        symbol: "square.grid.2x2.fill"
                        size: 16
                        color: Theme.accentLight
                    }
                    Text {
                        objectName: "batchTitle"
                        text: "Batch"
                        font: Theme.titleFont
                        color: Theme.textPrimary
                    }
                }
                Text {
                    objectName: "batchCount"
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    visible: panel.batch.total > 0
                    text: BatchRules.countText(panel.batch.doneCount, panel.batch.total)
                    font: Theme.captionFont
                    color: Theme.textSecondary
                }
            }

            // Progress of a run: which image, how far, and the file's name.
            ColumnLayout {
                objectName: "batchProgress"
                visible: panel.batch.isRunning
                Layout.fillWidth: true
                spacing: 8
                RowLayout {
                    spacing: 8
                    ZPSpinner {
                        size: 12
                        running: parent.visible
                    }
                    Text {
                        objectName: "batchProgressText"
                        text: BatchRules.progressText(panel.batch.processingIndex, panel.batch.total)
                        font: Theme.captionFont
                        color: Theme.textSecondary
                    }
                }
                ProgressBar {
                    id: bar
                    objectName: "batchProgressBar"
                    Layout.fillWidth: true
                    from: 0
                    to: Math.max(panel.batch.total, 1)
                    value: panel.batch.doneCount
                    background: Rectangle {
                        implicitHeight: 4
                        radius: 2
                        color: Theme.control
                    }
                    contentItem: Item {
                        implicitHeight: 4
                        Rectangle {
                            width: bar.visualPosition * parent.width
                            height: parent.height
                            radius: 2
                            color: Theme.accent
                        }
                    }
                }
                Text {
                    objectName: "batchCurrentFile"
                    Layout.fillWidth: true
                    text: panel.batch.currentFileName
                    font: Theme.captionFont
                    color: Theme.textTertiary
                    elide: Text.ElideMiddle
                }
            }

            Text {
                Layout.fillWidth: true
                text: "Cut out many images at once with the current Cutout settings, then export the set."
                font: Theme.captionFont
                color: Theme.textTertiary
                wrapMode: Text.WordWrap
            }

            RowLayout {
                spacing: 8
                ZPSecondaryButton {
                    objectName: "addImagesButton"
                    text: "Add Images…"
                    symbol: "plus"
                    height: 36
                    onClicked: panel.batch.showImporter = true
                }
                ZPIconButton {
                    objectName: "clearAllButton"
                    visible: panel.batch.total > 0
                    symbol: "trash"
                    label: "Clear all"
                    size: 36
                    onClicked: Commands.clearBatch()
                }
            }
            // Files the last addition left out, and why.
            Text {
                objectName: "addNote"
                visible: panel.batch.addNote !== ""
                Layout.fillWidth: true
                text: panel.batch.addNote
                font: Theme.captionFont
                color: Theme.textSecondary
                wrapMode: Text.WordWrap
            }

            Rectangle {
                Layout.fillWidth: true
                implicitHeight: 1
                color: Theme.accentTintSoft
            }

            // Output.
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 8
                Text {
                    text: "Output"
                    font: Theme.headlineFont
                    color: Theme.textPrimary
                }
                ZPToggleRow {
                    objectName: "presetToggle"
                    Layout.fillWidth: true
                    label: "Marketplace preset"
                    on: panel.batch.usePreset
                    onToggled: (on) => panel.batch.usePreset = on
                }
                ZPMenuRow {
                    objectName: "presetMenu"
                    visible: panel.batch.usePreset
                    Layout.fillWidth: true
                    label: "Preset"
                    options: BatchRules.presetOptions
                    selection: panel.batch.preset
                    onSelected: (option) => panel.batch.preset = option
                }
                Text {
                    objectName: "presetSummary"
                    visible: panel.batch.usePreset
                    Layout.fillWidth: true
                    text: BatchRules.presetSummary(panel.batch.preset)
                    font: Theme.captionFont
                    color: Theme.textTertiary
                    wrapMode: Text.WordWrap
                }
                ZPMenuRow {
                    objectName: "formatMenu"
                    visible: !panel.batch.usePreset
                    Layout.fillWidth: true
                    label: "Format"
                    options: BatchRules.formatOptions
                    selection: panel.batch.format
                    onSelected: (option) => panel.batch.format = option
                }
                ZPMenuRow {
                    objectName: "longEdgeMenu"
                    visible: !panel.batch.usePreset
                    Layout.fillWidth: true
                    label: "Long edge"
                    options: BatchRules.longEdgeOptions(panel.batch.longEdge)
                    selection: BatchRules.longEdgeSelection(panel.batch.longEdge)
                    onSelected: (option) => {
                        const pixels = BatchRules.longEdgePixels(option)
                        if (pixels !== panel.batch.longEdge)
                            panel.batch.longEdge = pixels
                    }
                }
            }

            Rectangle {
                Layout.fillWidth: true
                implicitHeight: 1
                color: Theme.accentTintSoft
            }

            // Run control.
            ZPSecondaryButton {
                objectName: "cancelButton"
                visible: panel.batch.isRunning
                text: "Cancel"
                symbol: "stop.fill"
                height: 36
                onClicked: panel.batch.cancel()
            }
            ZPPrimaryButton {
                objectName: "runBatchButton"
                visible: !panel.batch.isRunning
                text: "Run Batch"
                fullWidth: true
                Layout.preferredHeight: 44
                enabled: panel.batch.total > 0
                onClicked: panel.batch.start(Editor)
            }
            ZPPrimaryButton {
                objectName: "exportAllButton"
                visible: panel.batch.hasResults
                text: BatchRules.exportAllTitle(panel.batch.doneCount)
                symbol: "square.and.arrow.down"
                fullWidth: true
                Layout.preferredHeight: 44
                // One save at a time; it runs off the GUI thread.
                enabled: !panel.batch.isSaving
                onClicked: panel.batch.showFolderChooser = true
            }
            // Output changed since the newest run: what Export All would
            // write, and the offer to make the results again.
            ColumnLayout {
                objectName: "outputChanged"
                visible: panel.batch.outputNote !== ""
                Layout.fillWidth: true
                spacing: 8
                Text {
                    objectName: "outputNote"
                    Layout.fillWidth: true
                    text: panel.batch.outputNote
                    font: Theme.captionFont
                    color: Theme.textSecondary
                    wrapMode: Text.WordWrap
                }
                ZPSecondaryButton {
                    objectName: "runAgainButton"
                    visible: !panel.batch.isRunning
                    text: "Run Again"
                    symbol: "arrow.clockwise"
                    height: 36
                    onClicked: panel.batch.start(Editor)
                }
            }

            Text {
                objectName: "failureNote"
                visible: panel.batch.failedCount >= 1
                Layout.fillWidth: true
                text: BatchRules.failureNote(panel.batch.failedCount)
                font: Theme.captionFont
                color: Theme.failure
                wrapMode: Text.WordWrap
            }
            Text {
                objectName: "batchError"
                visible: panel.batch.lastError !== ""
                Layout.fillWidth: true
                text: panel.batch.lastError
                font: Theme.captionFont
                color: Theme.failure
                wrapMode: Text.WordWrap
            }
        }
    }
}
