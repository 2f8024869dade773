// The listing presets' menu: a button that always reads "Apply…" and opens the
// presets in two sections, marketplaces and apparel. Choosing one applies it.
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Templates as T
import Zephrin.Controls
import Zephrin.Inspector
import Zephrin.Model

T.Button {
    id: opener
    // Section headings and presets, in menu order.
    readonly property var entries: [{ title: "Marketplaces", heading: true }]
        .concat(PanelRules.listingPresetTitles(false).map((t) => ({ title: t, heading: false })))
        .concat([{ title: "Apparel (300 DPI)", heading: true }])
        .concat(PanelRules.listingPresetTitles(true).map((t) => ({ title: t, heading: false })))

    objectName: "presetMenuButton"
    implicitWidth: label.implicitWidth + 24
    implicitHeight: 32
    focusPolicy: Qt.TabFocus
    Accessible.name: "Apply preset"
    onClicked: menu.open()

    contentItem: Item {
        Row {
            id: label
            anchors.centerIn: parent
            spacing: 4
            opacity: opener.down ? 0.7 : 1
            Text {
                objectName: "presetMenuLabel"
                anchors.verticalCenter: parent.verticalCenter
                text: "Apply…"
                font: Theme.bodyFont
                color: Theme.textPrimary
            }
            ZPIcon {
                anchors.verticalCenter: parent.verticalCenter
                symbol: "chevron.down"
                size: 10
                font.weight: Font.Bold
            }
        }
    }
    background: Rectangle {
        radius: 8
        color: Theme.surface
    }

    Menu {
        id: menu
        objectName: "presetMenu"
        y: opener.height
        Instantiator {
            model: opener.entries
            delegate: MenuItem {
                id: entry
                required property var modelData
                objectName: modelData.heading ? "" : "preset:" + modelData.title
                text: modelData.title
                enabled: !modelData.heading
                implicitWidth: 280
                onTriggered: Editor.applyListingPreset(modelData.title)
                contentItem: Text {
                    text: entry.text
                    font: entry.modelData.heading ? Theme.captionFont : Theme.bodyFont
                    color: entry.modelData.heading ? Theme.textTertiary : Theme.textPrimary
                }
                background: Rectangle {
                    color: entry.highlighted ? Theme.control : Theme.transparent
                    radius: 6
                }
            }
            onObjectAdded: (index, item) => menu.insertItem(index, item)
            onObjectRemoved: (index, item) => menu.removeItem(item)
        }
    }
}
