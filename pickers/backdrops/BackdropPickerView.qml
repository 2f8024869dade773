// The backdrop chooser of the background panel: three tabs (photos, generated
// backdrops, My Backgrounds), the My Backgrounds notice above whichever is
// open, and "Use Your Own Image…". Switching tabs makes the grid anew, so its
// category or filter starts over.
//   mode: the open tab; 0 Photos, 1 Studio & Color, anything else My Backgrounds
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Content
import Zephrin.Pickers

ColumnLayout {
    id: picker
    objectName: "backdropPicker"
    property int mode: 0
    readonly property Item grid: gridLoader.item

    spacing: 12

    // "Use Your Own Image…": the window's importer, for the background.
    function useOwnImage() {
        Editor.importTarget = "background"
        Editor.showImporter = true
    }

    RowLayout {
        objectName: "backdropTabs"
        spacing: 4
        Layout.fillWidth: true
        Repeater {
            model: ["Photos", "Studio & Color", "My Backgrounds"]
            BDChip {
                required property string modelData
                required property int index
                title: modelData
                on: picker.mode === index
                implicitHeight: 34
                // As wide as its title asks, the rest of the row shared out:
                // "My Backgrounds" needs more than a third.
                Layout.fillWidth: true
                onClicked: picker.mode = index
            }
        }
    }

    RowLayout {
        id: notice
        objectName: "backdropNotice"
        readonly property bool success: MyBackgrounds.noticeIsSuccess
        visible: MyBackgrounds.notice !== ""
        spacing: 6
        Layout.fillWidth: true
        ZPIcon {
            objectName: "noticeIcon"
            symbol: notice.success ? "checkmark.circle.fill" : "exclamationmark.triangle.fill"
            size: 11
            color: notice.success ? Theme.success : Theme.accentPink
        }
        Text {
            objectName: "noticeText"
            text: MyBackgrounds.notice
            font: Theme.captionFont
            color: notice.success ? Theme.success : Theme.accentPink
            wrapMode: Text.WordWrap
            Layout.fillWidth: true
        }
    }

    Loader {
        id: gridLoader
        objectName: "backdropGridSlot"
        Layout.fillWidth: true
        sourceComponent: picker.mode === 0 ? photoGrid : picker.mode === 1 ? generatedGrid : myGrid
    }
    Component { id: photoGrid; PhotoBackdropGrid {} }
    Component { id: generatedGrid; GeneratedBackdropGrid {} }
    Component { id: myGrid; MyBackgroundsGrid {} }

    Rectangle {
        color: Theme.border
        implicitHeight: 1
        Layout.fillWidth: true
    }

    ZPSecondaryButton {
        objectName: "useOwnImage"
        text: "Use Your Own Image…"
        symbol: "photo.on.rectangle"
        implicitHeight: 36
        onClicked: picker.useOwnImage()
    }

    Text {
        text: "Your own images are kept in My Backgrounds."
        font: Theme.captionFont
        color: Theme.textTertiary
        wrapMode: Text.WordWrap
        Layout.fillWidth: true
    }
}
