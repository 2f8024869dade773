// The "Studio & Color" tab: the generated backdrops by category and, under
// "Gradient", the custom two-colour backdrop. Colours and shape go straight
// into the editor; nothing is applied until "Apply Custom Gradient".
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Content
import Zephrin.Pickers

ColumnLayout {
    id: grid
    objectName: "generatedGrid"
    readonly property alias gridState: generated

    spacing: 12

    GeneratedGridState {
        id: generated
        editor: Editor
        store: MyBackgrounds
    }

    RowLayout {
        objectName: "generatedCategories"
        spacing: 4
        Layout.fillWidth: true
        Repeater {
            model: generated.categories
            BDChip {
                required property string modelData
                title: modelData
                on: modelData === generated.category
                Layout.fillWidth: true
                Layout.preferredWidth: 1
                implicitHeight: 28
                onClicked: generated.category = modelData
            }
        }
    }

    TileGrid {
        id: tiles
        objectName: "generatedTiles"
        Layout.fillWidth: true
        rowSpacing: 10
        tileHeight: 56 + 4 + captionHeight
        model: generated.tiles
        delegate: BackdropTile {
            id: tile
            required property string tileId
            required property string name

            objectName: "backdrop:" + tileId
            width: tiles.tileWidth
            pictureHeight: 56
            captionSpacing: 4
            source: "image://backdrop/" + tileId
            ringed: generated.selectedID === tileId
            caption: name
            captionBright: ringed
            help: name
            onClicked: Editor.selectBackdrop(tileId)
            onMenuRequested: (position) => menu.popup(tile, position)

            TileMenu {
                id: menu
                TileMenuItem {
                    text: "Add to My Backgrounds"
                    onTriggered: generated.addToMyBackgrounds(tile.tileId)
                }
            }
        }
    }

    // The custom gradient editor, only under "Gradient".
    Loader {
        objectName: "customGradientSlot"
        active: generated.showsCustomEditor
        visible: active
        Layout.fillWidth: true
        sourceComponent: ColumnLayout {
            objectName: "customGradient"
            spacing: 12
            Rectangle {
                color: Theme.border
                implicitHeight: 1
                Layout.fillWidth: true
            }
            Text {
                text: "Custom gradient"
                font: Theme.headlineFont
                color: Theme.textPrimary
            }
            ZPColorRow {
                objectName: "customColorA"
                label: generated.colorLabels[0]
                color: Editor.customBackdropA
                onPicked: (picked) => Editor.customBackdropA = picked
                Layout.fillWidth: true
            }
            ZPColorRow {
                objectName: "customColorB"
                label: generated.colorLabels[1]
                color: Editor.customBackdropB
                onPicked: (picked) => Editor.customBackdropB = picked
                Layout.fillWidth: true
            }
            ZPChipRow {
                objectName: "customShape"
                options: generated.shapes
                selection: Editor.customBackdropShape
                onSelected: (option) => Editor.customBackdropShape = option
                Layout.fillWidth: true
            }
            ZPSecondaryButton {
                objectName: "applyCustomGradient"
                text: "Apply Custom Gradient"
                symbol: "paintbrush.pointed"
                implicitHeight: 36
                onClicked: Editor.selectBackdrop("custom")
            }
        }
    }
}
