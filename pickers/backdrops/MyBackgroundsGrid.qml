// The "My Backgrounds" tab: the user's saved backgrounds with filters, a
// selection mode for favouring or deleting several at once, and per tile
// favourite, rename, show in folder and Trash.
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Content
import Zephrin.Pickers

ColumnLayout {
    id: grid
    objectName: "myBackgroundsGrid"
    readonly property alias gridState: mine
    // The rename field's text; kept until the next "Rename…".
    property string newName: ""
    property string renamingID: ""
    readonly property alias renameQuestion: renamePopup
    readonly property alias deleteQuestion: deletePopup

    spacing: 12

    MyBackgroundsGridState {
        id: mine
        editor: Editor
        store: MyBackgrounds
    }

    function startRename(id, name) {
        newName = name
        renamingID = id
        renamePopup.open()
    }

    ChipScroller {
        objectName: "myFilters"
        Layout.fillWidth: true
        titles: mine.filters
        current: mine.filter
        onChosen: (title) => mine.filter = title
    }

    Text {
        objectName: "myEmptyHint"
        visible: mine.libraryEmpty
        text: "Backgrounds you import with “Use Your Own Image…” are kept here. Right-click any photo or backdrop and choose Add to My Backgrounds to save it here too."
        font: Theme.captionFont
        color: Theme.textTertiary
        wrapMode: Text.WordWrap
        Layout.fillWidth: true
    }

    RowLayout {
        objectName: "myHeader"
        visible: !mine.libraryEmpty
        spacing: 6
        Layout.fillWidth: true
        Text {
            objectName: "myHeaderText"
            text: mine.selecting ? mine.selectedLine : mine.libraryLine
            font: Theme.captionFont
            color: mine.selecting ? Theme.textSecondary : Theme.textTertiary
        }
        Item { Layout.fillWidth: true }
        LinkButton {
            objectName: "mySelect"
            visible: !mine.selecting
            text: "Select"
            onClicked: mine.selecting = true
        }
        LinkButton {
            objectName: "myFavoriteSelection"
            visible: mine.selecting
            enabled: mine.selection.length > 0
            text: "Favorite"
            onClicked: mine.favoriteSelection()
        }
        LinkButton {
            objectName: "myDeleteSelection"
            visible: mine.selecting
            enabled: mine.selection.length > 0
            text: "Delete"
            onClicked: mine.askToDeleteSelection()
        }
        LinkButton {
            objectName: "myDone"
            visible: mine.selecting
            text: "Done"
            onClicked: mine.finishSelecting()
        }
    }

    Text {
        objectName: "myNothingHere"
        visible: !mine.libraryEmpty && mine.tiles.count === 0
        text: "Nothing here yet."
        font: Theme.captionFont
        color: Theme.textTertiary
    }

    TileGrid {
        id: tiles
        objectName: "myTiles"
        visible: !mine.libraryEmpty
        Layout.fillWidth: true
        tileHeight: tileWidth / 1.5 + 3 + captionHeight
        model: mine.tiles
        delegate: BackdropTile {
            id: tile
            required property string tileId
            required property string name
            required property string tooltip
            required property bool favorite
            readonly property bool checked: mine.selection.indexOf(tileId) >= 0
            readonly property bool current: mine.selectedID === tileId

            objectName: "my:" + tileId
            width: tiles.tileWidth
            source: "image://mybackground/" + tileId
            ringed: current || (mine.selecting && checked)
            badge: mine.selecting ? (checked ? "checked" : "unchecked") : (favorite ? "heart" : "")
            caption: name
            captionBright: current
            help: tooltip
            onClicked: mine.tap(tileId)
            onMenuRequested: (position) => menu.popup(tile, position)

            TileMenu {
                id: menu
                TileMenuItem {
                    text: tile.favorite ? "Remove from Favorites" : "Add to Favorites"
                    onTriggered: mine.toggleFavorite(tile.tileId)
                }
                TileMenuItem {
                    text: "Rename…"
                    onTriggered: grid.startRename(tile.tileId, tile.name)
                }
                TileMenuItem {
                    text: "Show in Folder"
                    onTriggered: mine.revealInFolder(tile.tileId)
                }
                MenuSeparator {
                    contentItem: Rectangle {
                        implicitHeight: 1
                        color: Theme.border
                    }
                }
                TileMenuItem {
                    text: "Move to Trash"
                    destructive: true
                    onTriggered: mine.moveToTrash(tile.tileId)
                }
            }
        }
    }

    RowLayout {
        objectName: "myFooter"
        visible: !mine.libraryEmpty
        Layout.fillWidth: true
        LinkButton {
            objectName: "myShowFolder"
            text: "Show Folder"
            onClicked: mine.openFolder()
        }
        Item { Layout.fillWidth: true }
        LinkButton {
            objectName: "myDeleteAll"
            text: "Delete All…"
            destructive: true
            onClicked: mine.askToDeleteAll()
        }
    }

    ChoicePopup {
        id: renamePopup
        objectName: "renamePopup"
        title: "Rename Background"
        acceptText: "Save"
        onAccepted: mine.rename(grid.renamingID, grid.newName)
        onClosed: grid.renamingID = ""
        TextField {
            objectName: "renameField"
            placeholderText: "Name"
            text: grid.newName
            onTextEdited: grid.newName = text
            font: Theme.bodyFont
            color: Theme.textPrimary
            placeholderTextColor: Theme.textTertiary
            selectByMouse: true
            Layout.fillWidth: true
            background: Rectangle {
                implicitHeight: 30
                radius: 6
                color: Theme.surface
                border.color: Theme.border
            }
            onAccepted: renamePopup.accept()
        }
    }

    // Every delete that asks: the selection, the whole library, or one item
    // where there is no Trash.
    ChoicePopup {
        id: deletePopup
        objectName: "deletePopup"
        visible: mine.asking
        title: mine.questionTitle
        message: mine.questionMessage
        acceptText: mine.questionAccept
        destructive: true
        onAccepted: mine.confirmDelete()
        onClosed: mine.cancelDelete()
    }
}
