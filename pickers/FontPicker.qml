// The font picker: the downloadable fonts of the font library, narrowed by a
// chip row and a search, each row with its preview and a heart for the
// favourites. A click downloads the font and applies it to the layer that was
// selected then (FontPickerModel). It does not close itself. Each showing
// starts afresh: empty search, the opening chip, no failure. It draws no
// background of its own: its host gives it one.
//   currentID: the id of the font the layer uses ("" for none)
//   shown:     true while the picker is on screen (each showing loads the
//              catalogue if needed and picks the opening chip)
//   focusSearch(): puts the keyboard focus in the search field
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Pickers

Item {
    id: picker
    property alias currentID: fonts.currentID
    property bool shown: false
    readonly property FontPickerModel model: fonts

    function focusSearch() {
        searchField.forceActiveFocus()
    }

    objectName: "fontPicker"
    implicitWidth: 360
    implicitHeight: 520

    FontPickerModel {
        id: fonts
        editor: Editor
    }

    function appear() {
        fonts.appear()
        chips.contentX = 0
    }
    onShownChanged: if (shown) appear()
    Component.onCompleted: if (shown) appear()

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 12
        spacing: 8

        TextField {
            id: searchField
            objectName: "fontSearch"
            Layout.fillWidth: true
            placeholderText: fonts.searchPrompt
            text: fonts.search
            onTextEdited: fonts.search = text
            font: Theme.bodyFont
            color: Theme.textPrimary
            placeholderTextColor: Theme.textTertiary
            background: Rectangle {
                radius: 6
                color: Theme.surface
                border.color: searchField.activeFocus ? Theme.accent : Theme.border
            }
        }

        ChipScroller {
            id: chips
            objectName: "fontChips"
            Layout.fillWidth: true
            Layout.preferredHeight: 28
            titles: fonts.chips
            current: fonts.chip
            labelFor: (title) => fonts.chipLabel(title)
            namePrefix: "fontChip:"
            onChosen: (title) => fonts.chip = title
        }

        // In place of an empty catalogue: the failure with "Try Again", or
        // the loading line, or "No fonts available." for a catalogue without fonts.
        ColumnLayout {
            objectName: "fontEmpty"
            visible: fonts.emptyState !== ""
            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: 8
            RowLayout {
                spacing: 6
                BusyIndicator {
                    visible: fonts.emptyState === "loading"
                    running: visible
                    implicitWidth: 16
                    implicitHeight: 16
                }
                Text {
                    objectName: "fontEmptyText"
                    Layout.fillWidth: true
                    text: fonts.emptyText
                    font: Theme.captionFont
                    color: fonts.emptyState === "loading" ? Theme.textSecondary : Theme.textTertiary
                    wrapMode: Text.Wrap
                }
            }
            Button {
                objectName: "fontRetry"
                visible: fonts.emptyState === "failed"
                text: "Try Again"
                onClicked: fonts.retry()
            }
            Item { Layout.fillHeight: true }
        }

        ListView {
            id: list
            objectName: "fontList"
            visible: fonts.emptyState === ""
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            spacing: 2
            model: fonts.rows
            ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }
            delegate: FontRow {
                width: list.width
                favorite: { fonts.revision; return fonts.isFavorite(modelData.id) }
                downloading: { fonts.revision; return fonts.isDownloading(modelData.id) }
                selected: { fonts.revision; return fonts.isSelected(modelData.id) }
                onChosen: (id) => fonts.pick(id)
                onHeartClicked: (id) => fonts.toggleFavorite(id)
            }
        }

        Text {
            objectName: "fontFailed"
            visible: fonts.emptyState === "" && fonts.failed !== ""
            Layout.fillWidth: true
            text: fonts.failed
            font: Theme.captionFont
            color: Theme.failureText
            wrapMode: Text.Wrap
        }
        Text {
            objectName: "fontFooter"
            visible: fonts.emptyState === ""
            Layout.fillWidth: true
            text: fonts.footer
            font: Theme.captionFont
            color: Theme.textTertiary
            wrapMode: Text.Wrap
        }
    }
}
