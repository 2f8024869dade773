// A colour row over one colour field of a text layer.
//   textLayer: the layer (a map of Editor.comp.texts);  field: the field's name
//   label: the caption
import QtQuick
import Zephrin.Controls
import Zephrin.Model

ZPColorRow {
    id: row
    required property var textLayer
    required property string field

    objectName: "color:" + field
    color: textLayer[field]
    onPicked: (c) => Editor.setTextField(row.textLayer.id, row.field, c)
}
