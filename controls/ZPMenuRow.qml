// A caption with a pop-up menu on its trailing side.
//   label:     the caption
//   options:   the menu's texts, in order, shown verbatim
//   selection: the text the row shows (also when it is none of the options)
//   menuEnabled: false dims the menu (not the caption) to 0.4 and ignores presses
//   selected(option): an item was chosen; the caller writes the model
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import Zephrin.Controls

RowLayout {
    id: row
    property string label
    property var options: []
    property string selection
    property bool menuEnabled: true
    signal selected(string option)

    Text {
        text: row.label
        font: Theme.headlineFont
        color: Theme.textPrimary
    }
    Item { Layout.fillWidth: true }

    T.Button {
        id: opener
        objectName: "menuButton"
        implicitWidth: labelRow.implicitWidth + 24
        implicitHeight: 32
        enabled: row.menuEnabled
        opacity: enabled ? 1 : 0.4
        focusPolicy: Qt.TabFocus
        Accessible.name: row.label
        Accessible.description: row.selection
        onClicked: menu.open()

        contentItem: Item {
            Row {
                id: labelRow
                anchors.centerIn: parent
                spacing: 4
                Text {
                    text: row.selection
                    font: Theme.bodyFont
                    color: Theme.textPrimary
                    anchors.verticalCenter: parent.verticalCenter
                }
                ZPIcon {
                    symbol: "chevron.down"
                    size: 10
                    anchors.verticalCenter: parent.verticalCenter
                }
            }
        }
        background: Rectangle {
            radius: 8
            color: Theme.surface
            ZPFocusRing {
                shown: opener.activeFocus
                faceRadius: 8
            }
        }

        Menu {
            id: menu
            objectName: "menu"
            y: opener.height
            Instantiator {
                model: row.options
                delegate: MenuItem {
                    required property string modelData
                    text: modelData
                    onTriggered: row.selected(modelData)
                }
                onObjectAdded: (index, item) => menu.insertItem(index, item)
                onObjectRemoved: (index, item) => menu.removeItem(item)
            }
        }
    }
}
