// The label section of the text panel for a layer that carries a shape: the
// shape (through the gallery), its fill with quick swatches, border and its
// colour, whether the text sits inside the label or is cut out of it, how
// much of the label the text fills, and the label's width and height. Every
// change is one write of the layer, addressed by its id.
//   textLayer: the layer (a map of Editor.comp.texts)
//   swatches: the quick fill colours
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Pickers

ColumnLayout {
    id: controls
    required property var textLayer
    property var swatches: []
    property bool showGallery: false

    objectName: "shapeControls"
    spacing: 16

    RowLayout {
        Layout.fillWidth: true
        Text {
            text: "Shape"
            font: Theme.headlineFont
            color: Theme.textPrimary
        }
        Item { Layout.fillWidth: true }
        T.Button {
            id: shapeButton
            objectName: "shapeButton"
            readonly property string kindName: ShapeCatalogue.name(controls.textLayer.shape)
            implicitWidth: shapeRow.implicitWidth + 20
            implicitHeight: 30
            focusPolicy: Qt.TabFocus
            Accessible.name: "Shape"
            onClicked: controls.showGallery = true
            contentItem: Item {
                Row {
                    id: shapeRow
                    anchors.centerIn: parent
                    spacing: 6
                    ShapeThumb {
                        width: 24
                        height: 18
                        kind: controls.textLayer.shape
                        color: Theme.accent
                        anchors.verticalCenter: parent.verticalCenter
                    }
                    Text {
                        objectName: "shapeName"
                        text: shapeButton.kindName !== "" ? shapeButton.kindName : "Shape"
                        font: Theme.bodyFont
                        color: Theme.textPrimary
                        anchors.verticalCenter: parent.verticalCenter
                    }
                    ZPIcon {
                        symbol: "chevron.down"
                        size: 10
                        color: Theme.textPrimary
                        anchors.verticalCenter: parent.verticalCenter
                    }
                }
            }
            background: Rectangle {
                radius: 8
                color: Theme.surface
            }

            Popup {
                objectName: "shapeGalleryPopup"
                y: shapeButton.height + 6
                x: shapeButton.width - width
                margins: 8
                padding: 0
                visible: controls.showGallery
                onClosed: controls.showGallery = false
                background: Rectangle {
                    color: Theme.panel
                    radius: 10
                    border.color: Theme.border
                }
                ShapeGallery {
                    current: controls.textLayer.shape
                    onPicked: (id) => {
                        Editor.applyShapeToSelectedLayer(id)
                        controls.showGallery = false
                    }
                }
            }
        }
    }

    TextColorRow {
        Layout.fillWidth: true
        label: "Fill"
        textLayer: controls.textLayer
        field: "fill"
    }

    ColorSwatches {
        objectName: "fillSwatches"
        swatches: controls.swatches
        onPicked: (c) => Editor.setTextField(controls.textLayer.id, "fill", c)
    }

    TextSliderRow {
        Layout.fillWidth: true
        label: "Border"
        textLayer: controls.textLayer
        field: "border"
    }

    TextColorRow {
        Layout.fillWidth: true
        visible: controls.textLayer.border > 0.001
        label: "Border color"
        textLayer: controls.textLayer
        field: "borderColor"
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 4
        BDChip {
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            implicitHeight: 28
            title: "Label Inside"
            on: !controls.textLayer.knockout
            onClicked: Editor.setTextField(controls.textLayer.id, "knockout", false)
        }
        BDChip {
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            implicitHeight: 28
            title: "Cut-Out Text"
            on: controls.textLayer.knockout
            onClicked: Editor.setTextField(controls.textLayer.id, "knockout", true)
        }
    }

    TextSliderRow {
        Layout.fillWidth: true
        label: "Text fills"
        textLayer: controls.textLayer
        field: "labelFill"
    }
    TextSliderRow {
        Layout.fillWidth: true
        label: "Width"
        textLayer: controls.textLayer
        field: "shapeW"
    }
    TextSliderRow {
        Layout.fillWidth: true
        label: "Height"
        textLayer: controls.textLayer
        field: "shapeH"
    }

    Rectangle {
        Layout.fillWidth: true
        implicitHeight: 1
        color: Theme.border
    }
}
