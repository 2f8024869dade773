// "Cut out one part": turns the canvas's box tool on and off, and acts on a
// rectangle drawn with it: re-run the subject finder inside it, or mask the
// current cutout with it. Drawing the box is the canvas's work.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model

Rectangle {
    id: section
    readonly property bool hasDocument: Editor.document !== undefined
    readonly property bool boxOn: Editor.canvasTool === "Select"
    readonly property bool rectanglePending: Editor.pendingSelection !== undefined
                                             && Editor.pendingKind === "Rectangle"

    objectName: "guidedCut"
    implicitHeight: column.implicitHeight + 24
    radius: 8
    color: Theme.surface

    ColumnLayout {
        id: column
        x: 12
        y: 12
        width: section.width - 24
        spacing: 12

        SectionHeading {
            text: "Cut out one part"
            help: "Draw a box around the part you want. The cut can extend past the box to finish the subject."
        }

        ZPSecondaryButton {
            objectName: "boxButton"
            text: section.boxOn ? "Drawing box — draw on the image" : "Draw selection box"
            symbol: "rectangle.dashed"
            implicitHeight: 34
            enabled: section.hasDocument
            opacity: enabled ? 1 : 0.4
            onClicked: {
                Editor.selectionKind = "Rectangle"
                const next = section.boxOn ? "View" : "Select"
                if (Editor.canvasTool !== next)
                    Editor.canvasTool = next
            }
        }

        ZPPrimaryButton {
            objectName: "cutSelection"
            visible: section.rectanglePending
            text: "Cut out selection"
            symbol: "scissors"
            fullWidth: true
            implicitHeight: 40
            enabled: section.hasDocument && !Editor.isProcessing
            onClicked: Editor.cutSelection()
        }
        Flow {
            objectName: "maskButtons"
            visible: section.rectanglePending && Editor.cutout !== undefined
            Layout.preferredWidth: column.width
            spacing: 8
            ZPSecondaryButton {
                objectName: "keepOnlyThis"
                text: "Keep only this"
                symbol: "square.dashed.inset.filled"
                height: 34
                // Everything outside the box leaves the cutout.
                onClicked: Editor.eraseSelection(false)
            }
            ZPSecondaryButton {
                objectName: "removeThis"
                text: "Remove this"
                symbol: "scissors.badge.ellipsis"
                height: 34
                onClicked: Editor.eraseSelection(true)
            }
        }
        PanelHint {
            objectName: "guidedCutHint"
            text: section.rectanglePending
                  ? "Cut out selection re-runs the model inside the box. Keep only / Remove just mask the current cutout."
                  : "Turn on the box, drag it around the part on the image, then choose what to do with it."
        }
    }
}
