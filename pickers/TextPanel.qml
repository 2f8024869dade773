// The text tool's panel: every text and label layer in a list (select,
// duplicate, delete), "Add Text" and "Add Shape", and for the selected layer
// its text, its label controls when it carries a shape, its style controls, a
// delete button and a hint. Everything writes the editor; the panel keeps
// only whether its pickers are open. Inert and dimmed until a cutout exists.
//   showFonts, showShapes: whether the font and shape pickers are open
//   swatches: the quick colours of the text and fill rows
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Pickers

ColumnLayout {
    id: root
    property bool showFonts: false
    property bool showShapes: false
    property var swatches: []

    // The selected layer as a map of its fields; undefined when the selection
    // names no layer.
    readonly property var selectedLayer: {
        const texts = Editor.comp.texts
        for (let i = 0; i < texts.length; ++i)
            if (texts[i].id === Editor.selectedTextID)
                return texts[i]
        return undefined
    }
    readonly property bool hasShape: selectedLayer !== undefined && selectedLayer.shape !== ""

    objectName: "textPanel"
    spacing: 16
    enabled: Editor.cutout !== undefined
    opacity: enabled ? 1 : 0.6

    Component.onCompleted: fontLoader.appear()
    FontPickerModel { id: fontLoader }

    ZPPanelHeader {
        title: "Text & Shapes"
        symbol: "textformat"
    }

    // The inspector's note, loaded from its own module (which imports this
    // one); it shows while an image is open without a cutout.
    Loader {
        objectName: "cutoutNoteSlot"
        Layout.fillWidth: true
        source: "qrc:/Zephrin/Inspector/NeedsCutoutNote.qml"
        visible: status === Loader.Ready && Editor.document !== undefined && Editor.cutout === undefined
    }

    RowLayout {
        spacing: 8
        ZPSecondaryButton {
            objectName: "addText"
            text: "Add Text"
            symbol: "plus"
            implicitHeight: 36
            onClicked: Editor.addTextLayer()
        }
        ZPSecondaryButton {
            id: addShape
            objectName: "addShape"
            text: "Add Shape"
            symbol: "square.on.circle"
            implicitHeight: 36
            onClicked: root.showShapes = true

            Popup {
                objectName: "addShapePopup"
                y: addShape.height + 6
                margins: 8
                padding: 0
                visible: root.showShapes
                onClosed: root.showShapes = false
                background: Rectangle {
                    color: Theme.panel
                    radius: 10
                    border.color: Theme.border
                }
                ShapeGallery {
                    current: ""
                    onPicked: (id) => {
                        Editor.addShapeLayer(id)
                        root.showShapes = false
                    }
                }
            }
        }
    }

    ColumnLayout {
        objectName: "layerList"
        visible: layerRows.count > 0
        Layout.fillWidth: true
        spacing: 4
        Repeater {
            id: layerRows
            model: Editor.textLayerList
            delegate: TextLayerRow {
                Layout.fillWidth: true
            }
        }
    }

    ColumnLayout {
        objectName: "editingSection"
        visible: root.selectedLayer !== undefined
        Layout.fillWidth: true
        spacing: 16

        Rectangle {
            Layout.fillWidth: true
            implicitHeight: 1
            color: Theme.border
        }

        // The text box: a fixed height, its text clipped and scrolled inside
        // it, and the caret kept in view (the text area does that inside a
        // scroll view).
        ScrollView {
            id: textScroller
            objectName: "textBoxScroller"
            Layout.fillWidth: true
            Layout.preferredHeight: 64
            clip: true
            ScrollBar.horizontal.policy: ScrollBar.AlwaysOff
            background: Rectangle {
                radius: 8
                color: Theme.surface
                border.color: Theme.accentTint
                border.width: 1
            }

            TextArea {
                id: textBox
                objectName: "textBox"
                text: root.selectedLayer !== undefined ? root.selectedLayer.text : ""
                font: Theme.bodyFont
                color: Theme.textPrimary
                selectionColor: Theme.accent
                selectedTextColor: Theme.textPrimary
                wrapMode: TextEdit.Wrap
                leftPadding: 4
                rightPadding: 4
                topPadding: 5
                bottomPadding: 5
                onTextChanged: {
                    if (root.selectedLayer !== undefined && text !== root.selectedLayer.text)
                        Editor.setTextField(root.selectedLayer.id, "text", text)
                }
                background: null
            }
        }

        Loader {
            Layout.fillWidth: true
            active: root.hasShape
            visible: active
            sourceComponent: ShapeControls {
                textLayer: root.selectedLayer
                swatches: root.swatches
            }
        }

        Loader {
            Layout.fillWidth: true
            active: root.selectedLayer !== undefined
            sourceComponent: TextStyleControls {
                textLayer: root.selectedLayer
                swatches: root.swatches
                panel: root
            }
        }

        RowLayout {
            Layout.fillWidth: true
            Item { Layout.fillWidth: true }
            T.Button {
                objectName: "deleteLayer"
                text: root.hasShape ? "Delete Shape" : "Delete Text"
                implicitWidth: deleteLabel.implicitWidth
                implicitHeight: deleteLabel.implicitHeight + 8
                focusPolicy: Qt.TabFocus
                onClicked: Editor.deleteTextLayer(root.selectedLayer.id)
                contentItem: Text {
                    id: deleteLabel
                    text: parent.text
                    font: Theme.captionFont
                    color: Theme.accentPink
                    verticalAlignment: Text.AlignVCenter
                }
                background: null
            }
        }

        Text {
            objectName: "textHint"
            Layout.fillWidth: true
            text: root.hasShape
                ? "Drag the shape to move it, or its round corner to resize. Arrow keys nudge; Delete removes it."
                : "Drag the text on the canvas to move it. Click empty space to hide the box."
            font: Theme.captionFont
            color: Theme.textTertiary
            wrapMode: Text.Wrap
        }
    }
}
