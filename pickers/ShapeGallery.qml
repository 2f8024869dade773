// The chooser of label shapes: every kind of the catalogue as a filled
// thumbnail, under its group's name, the current kind highlighted. A click
// only reports the kind; the host decides what it means and closes the popup.
//   current: the id to highlight ("" for none)
//   picked(id): a tile was clicked
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Templates as T
import Zephrin.Controls
import Zephrin.Pickers

Column {
    id: gallery
    property string current
    signal picked(string id)

    padding: 14
    spacing: 8

    Repeater {
        model: ShapeCatalogue.groups
        delegate: Column {
            id: group
            required property string modelData
            spacing: 8
            Text {
                text: group.modelData
                font: Theme.captionFont
                color: Theme.textSecondary
            }
            Row {
                spacing: 8
                Repeater {
                    model: ShapeCatalogue.kinds(group.modelData)
                    delegate: T.Button {
                        id: tile
                        required property var modelData
                        readonly property bool isCurrent: gallery.current === modelData.id
                        objectName: "shapeTile:" + modelData.id
                        implicitWidth: 64
                        implicitHeight: 52
                        padding: 5
                        focusPolicy: Qt.TabFocus
                        Accessible.name: modelData.name
                        ToolTip.visible: hovered
                        ToolTip.delay: 600
                        ToolTip.text: modelData.name
                        onClicked: gallery.picked(modelData.id)
                        contentItem: ShapeThumb {
                            kind: tile.modelData.id
                            color: Theme.accent
                        }
                        background: Rectangle {
                            objectName: "tileBackground"
                            radius: 8
                            color: tile.isCurrent ? Theme.control : Theme.surface
                        }
                    }
                }
            }
        }
    }
}
