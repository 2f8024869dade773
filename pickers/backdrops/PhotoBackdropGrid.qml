// The "Photos" tab: the photo library by category. A tile's click makes its
// photo the backdrop; its menu keeps a copy in My Backgrounds. The catalogue
// loads when the grid appears (unless loaded), "Try Again" loads it again.
//   library: the photo library (the shared one unless a test gives its own)
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Content
import Zephrin.Pickers

ColumnLayout {
    id: grid
    objectName: "photoGrid"
    property QtObject library: PhotoLibrary
    readonly property alias gridState: photos

    spacing: 12

    PhotoGridState {
        id: photos
        editor: Editor
        library: grid.library
        store: MyBackgrounds
    }
    Component.onCompleted: photos.loadIfNeeded()

    ChipScroller {
        objectName: "photoCategories"
        Layout.fillWidth: true
        titles: photos.categories
        current: photos.category
        onChosen: (title) => photos.category = title
    }

    // No photos, and the load failed or found none.
    ColumnLayout {
        visible: photos.content === "failed" || photos.content === "empty"
        Layout.fillWidth: true
        spacing: 12
        Text {
            objectName: "photoMessage"
            text: photos.message
            font: Theme.captionFont
            color: Theme.textTertiary
            wrapMode: Text.WordWrap
            Layout.fillWidth: true
        }
        ZPSecondaryButton {
            objectName: "photoRetry"
            text: "Try Again"
            symbol: "arrow.clockwise"
            implicitHeight: 36
            onClicked: photos.retry()
        }
    }

    RowLayout {
        objectName: "photoLoading"
        visible: photos.content === "loading"
        spacing: 8
        BusyIndicator {
            implicitWidth: 18
            implicitHeight: 18
            padding: 0
            running: parent.visible
        }
        Text {
            text: "Loading photos…"
            font: Theme.captionFont
            color: Theme.textTertiary
        }
    }

    TileGrid {
        id: tiles
        objectName: "photoTiles"
        visible: photos.content === "grid"
        Layout.fillWidth: true
        model: photos.tiles
        delegate: BackdropTile {
            id: tile
            required property string tileId
            required property string name

            objectName: "photo:" + tileId
            width: tiles.tileWidth
            source: "image://photo/" + tileId
            spinner: true
            ringed: photos.selectedID === tileId
            help: name
            onClicked: Editor.selectPhotoBackdrop(tileId)
            onMenuRequested: (position) => menu.popup(tile, position)

            TileMenu {
                id: menu
                TileMenuItem {
                    text: "Add to My Backgrounds"
                    onTriggered: photos.addToMyBackgrounds(tile.tileId)
                }
            }
        }
    }

    Text {
        objectName: "photoCount"
        visible: photos.content === "grid"
        text: photos.countLine
        font: Theme.captionFont
        color: Theme.textTertiary
        wrapMode: Text.WordWrap
        Layout.fillWidth: true
    }
}
