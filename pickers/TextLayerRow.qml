// One row of the text panel's layer list: the layer's kind and text on one
// line, highlighted when selected; a click selects it (ending any text
// editing first), the trash deletes it, the context menu duplicates or
// deletes it. Addressed by the layer's id.
//   model: the layer's row of Editor.textLayerList
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import Zephrin.Controls
import Zephrin.Model

T.Button {
    id: row
    required property var model
    readonly property string layerId: model.id
    readonly property bool selected: Editor.selectedTextID === layerId
    readonly property bool hasShape: model.shape !== ""

    objectName: "layerRow:" + layerId
    implicitHeight: 28
    leftPadding: 8
    rightPadding: 30
    focusPolicy: Qt.NoFocus
    Accessible.name: title.text

    onClicked: {
        // Ends any editing in the text box before the selection changes.
        row.forceActiveFocus()
        Editor.selectedTextID = layerId
    }

    TapHandler {
        acceptedButtons: Qt.RightButton
        onTapped: menu.popup()
    }

    contentItem: RowLayout {
        spacing: 8
        ZPIcon {
            objectName: "layerIcon"
            symbol: row.hasShape ? "square.on.circle" : "textformat"
            size: 11
            color: title.color
        }
        Text {
            id: title
            objectName: "layerTitle"
            Layout.fillWidth: true
            text: row.model.text === "" ? "(empty)" : row.model.text.replace(/\r\n|\r|\n/g, " ")
            font: Theme.captionFont
            color: row.selected ? Theme.textPrimary : Theme.textSecondary
            elide: Text.ElideRight
            maximumLineCount: 1
        }
    }
    background: Rectangle {
        radius: 8
        color: row.selected ? Theme.control : Theme.surface
    }

    T.Button {
        objectName: "layerTrash"
        anchors.right: parent.right
        width: 30
        height: 28
        focusPolicy: Qt.NoFocus
        Accessible.name: row.hasShape ? "Delete this shape" : "Delete this text"
        ToolTip.visible: hovered
        ToolTip.delay: 600
        ToolTip.text: Accessible.name
        onClicked: Editor.deleteTextLayer(row.layerId)
        background: Item {}
        contentItem: ZPIcon {
            symbol: "trash"
            size: 11
            color: Theme.textSecondary
        }
    }

    Menu {
        id: menu
        objectName: "layerMenu"
        MenuItem {
            objectName: "duplicateLayer"
            text: "Duplicate"
            onTriggered: Editor.duplicateTextLayer(row.layerId)
        }
        MenuItem {
            objectName: "deleteLayerItem"
            text: "Delete"
            onTriggered: Editor.deleteTextLayer(row.layerId)
        }
    }
}
