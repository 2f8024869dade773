// A slider row over one numeric property of the editor ("brushSize"), with
// the range, step and default the model clamps it to.
//   label, name (the property);  format: the read-out, as ZPSliderRow
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model

ZPSliderRow {
    id: row
    property string name
    readonly property var range: Editor.settingRange(name)

    Layout.fillWidth: true
    value: Editor[name]
    from: range.lower
    to: range.upper
    stepSize: range.step
    onMoved: (v) => Editor[name] = v
}
