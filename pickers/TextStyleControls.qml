// The style controls of the selected text or label layer: the font (through
// the font picker), bold, italic and centring, the size (plain text only),
// the text colour with quick swatches (not for cut-out label text), outline,
// effect and curve. Every control writes one field of the layer, addressed
// by its id, at once (no commit step).
//   textLayer: the layer (a map of Editor.comp.texts)
//   swatches: the quick text colours
//   panel:    the text panel, whose showFonts opens the font picker
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Pickers

ColumnLayout {
    id: style
    required property var textLayer
    property var swatches: []
    required property Item panel
    readonly property bool hasShape: textLayer.shape !== ""

    objectName: "styleControls"
    spacing: 16

    function setEffect(effect) {
        Editor.setTextField(textLayer.id, "effect", effect)
        const colour = TextControls.effectColorFor(effect, textLayer.effectColor)
        if (colour !== undefined)
            Editor.setTextField(textLayer.id, "effectColor", colour)
    }

    RowLayout {
        Layout.fillWidth: true
        Text {
            text: "Font"
            font: Theme.headlineFont
            color: Theme.textPrimary
        }
        Item { Layout.fillWidth: true }
        T.Button {
            id: fontButton
            objectName: "fontButton"
            implicitWidth: Math.min(fontRow.implicitWidth + 20, 180)
            implicitHeight: 30
            focusPolicy: Qt.TabFocus
            Accessible.name: "Font"
            onClicked: style.panel.showFonts = true
            contentItem: Item {
                Row {
                    id: fontRow
                    anchors.centerIn: parent
                    spacing: 6
                    Text {
                        objectName: "fontLabel"
                        text: style.textLayer.fontLabel
                        font: Theme.bodyFont
                        color: Theme.textPrimary
                        elide: Text.ElideRight
                        width: Math.min(implicitWidth, 140)
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

            // Escape or a click outside closes it; the search takes the keys.
            Popup {
                objectName: "fontPopup"
                y: fontButton.height + 6
                x: fontButton.width - width
                margins: 8
                padding: 1
                focus: true
                visible: style.panel.showFonts
                onOpened: fontPicker.focusSearch()
                onClosed: style.panel.showFonts = false
                background: PanelBackground { cornerRadius: 12 }
                FontPicker {
                    id: fontPicker
                    currentID: style.textLayer.fontID === undefined ? "" : style.textLayer.fontID
                    shown: style.panel.showFonts
                }
            }
        }
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 6
        StyleToggle {
            symbol: "bold"
            on: style.textLayer.bold
            onClicked: Editor.setTextField(style.textLayer.id, "bold", !style.textLayer.bold)
        }
        StyleToggle {
            symbol: "italic"
            on: style.textLayer.italic
            onClicked: Editor.setTextField(style.textLayer.id, "italic", !style.textLayer.italic)
        }
        Item { Layout.fillWidth: true }
        T.Button {
            objectName: "centerButton"
            text: "Center"
            focusPolicy: Qt.TabFocus
            implicitWidth: centerLabel.implicitWidth
            implicitHeight: centerLabel.implicitHeight + 8
            onClicked: Editor.setTextField(style.textLayer.id, "x", 0.5)
            contentItem: Text {
                id: centerLabel
                text: "Center"
                font: Theme.captionFont
                color: Theme.accentLight
                verticalAlignment: Text.AlignVCenter
            }
            background: null
        }
    }

    TextSliderRow {
        Layout.fillWidth: true
        visible: !style.hasShape
        label: "Size"
        textLayer: style.textLayer
        field: "size"
    }

    ColumnLayout {
        objectName: "colorRows"
        Layout.fillWidth: true
        visible: !(style.hasShape && style.textLayer.knockout)
        spacing: 16
        TextColorRow {
            Layout.fillWidth: true
            label: style.hasShape ? "Text color" : "Color"
            textLayer: style.textLayer
            field: "color"
        }
        ColorSwatches {
            objectName: "textSwatches"
            swatches: style.swatches
            onPicked: (c) => Editor.setTextField(style.textLayer.id, "color", c)
        }
    }

    Rectangle {
        Layout.fillWidth: true
        implicitHeight: 1
        color: Theme.border
    }

    TextSliderRow {
        Layout.fillWidth: true
        label: "Outline"
        textLayer: style.textLayer
        field: "outline"
    }
    TextColorRow {
        Layout.fillWidth: true
        visible: style.textLayer.outline > 0.001
        label: "Outline color"
        textLayer: style.textLayer
        field: "outlineColor"
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 4
        Repeater {
            model: TextControls.effects
            delegate: BDChip {
                required property string modelData
                Layout.fillWidth: true
                Layout.preferredWidth: 1
                implicitHeight: 28
                title: TextControls.effectTitle(modelData)
                on: style.textLayer.effect === modelData
                onClicked: style.setEffect(modelData)
            }
        }
    }

    TextSliderRow {
        Layout.fillWidth: true
        visible: style.textLayer.effect !== "none"
        label: style.textLayer.effect === "glow" ? "Glow size" : "Shadow size"
        textLayer: style.textLayer
        field: "effectSize"
    }
    TextColorRow {
        Layout.fillWidth: true
        visible: style.textLayer.effect !== "none"
        label: style.textLayer.effect === "glow" ? "Glow color" : "Shadow color"
        textLayer: style.textLayer
        field: "effectColor"
    }

    TextSliderRow {
        Layout.fillWidth: true
        label: "Curve"
        textLayer: style.textLayer
        field: "curve"
    }
}
