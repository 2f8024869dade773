// A slider row over one numeric field of comp, or of one of its adjustment
// sets: its range, step and default come from the model (settingRange), and
// every move writes the field; the moves of one drag are one history step,
// closed when the slider lets go.
//   label, field ("edgeBlend", "exposure");  format: the read-out, as ZPSliderRow
//   adjustTarget: "" for a field of comp, "subject" or "background" for a
//                 field of that adjustment set
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model

ZPSliderRow {
    id: row
    property string field
    property string adjustTarget: ""
    readonly property var range: Editor.settingRange(field)

    Layout.fillWidth: true
    value: adjustTarget === "" ? Editor.comp[field] : Editor.comp[adjustTarget + "Adjust"][field]
    from: range.lower
    to: range.upper
    stepSize: range.step
    onMoved: (v) => {
        if (adjustTarget === "")
            Editor.setComp(field, v)
        else
            Editor.setAdjust(adjustTarget, field, v)
    }
    onCommitted: Editor.commitHistory()
}
