// A slider row over one numeric field of a text layer: the field's range and
// step as the panel shows them (percent for fractions), its value text, and a
// write of the field on every move; the moves of one drag are one history
// step, closed when the slider lets go.
//   textLayer: the layer (a map of Editor.comp.texts);  field: the field's name
//   label: the caption
import QtQuick
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Pickers

ZPSliderRow {
    id: row
    required property var textLayer
    required property string field
    readonly property var range: TextControls.slider(field)

    objectName: "slider:" + field
    showInfo: false
    value: textLayer[field] * range.scale
    from: range.from
    to: range.to
    stepSize: range.stepSize
    format: function (v) { return TextControls.valueText(row.field, v) }
    onMoved: (v) => Editor.setTextField(row.textLayer.id, row.field, v / row.range.scale)
    onCommitted: Editor.commitHistory()
}
