// The boxed note of the panels that work on the cut-out subject: while an
// image is open without a cutout it says so and offers the two ways of making
// one. In every other state it is invisible and takes no room.
//
// Qt disables every child of a disabled item, so a host that disables itself
// while there is no cutout must keep the note outside what it disables:
// SubjectPanelStack does that. The buttons answer only to isProcessing.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model

Rectangle {
    id: note
    readonly property bool shown: Editor.document !== undefined && Editor.cutout === undefined

    objectName: "needsCutoutNote"
    visible: shown
    Layout.fillWidth: true
    implicitWidth: column.implicitWidth + 24
    implicitHeight: column.implicitHeight + 24
    radius: 8
    color: Theme.surface
    border.color: Theme.accentTintSoft
    border.width: 1

    ColumnLayout {
        id: column
        x: 12
        y: 12
        width: note.width - 24
        spacing: 8

        RowLayout {
            spacing: 8
            ZPIcon {
                symbol: "info.circle.fill"
                size: 15
                color: Theme.accentLight
            }
            Text {
                text: "Make a cutout first"
                font: Theme.headlineFont
                color: Theme.textPrimary
            }
        }
        Text {
            Layout.fillWidth: true
            text: "These controls work on the cut-out subject, so they have no effect until the background is removed."
            font: Theme.captionFont
            color: Theme.textTertiary
            wrapMode: Text.WordWrap
        }
        Flow {
            Layout.fillWidth: true
            spacing: 8
            enabled: !Editor.isProcessing
            ZPSecondaryButton {
                objectName: "noteAutoSubject"
                text: "Auto Subject"
                symbol: "sparkles"
                height: 30
                onClicked: {
                    if (Editor.cutoutMethod !== "Auto Subject")
                        Editor.cutoutMethod = "Auto Subject"
                    Editor.runAutoSubject()
                }
            }
            ZPSecondaryButton {
                objectName: "noteRemoveColor"
                text: "Remove Background Color"
                symbol: "paintpalette"
                height: 30
                onClicked: {
                    if (Editor.cutoutMethod !== "Flat Color")
                        Editor.cutoutMethod = "Flat Color"
                    Editor.runFlatColor()
                }
            }
        }
    }
}
