// A caption and a value read-out above a ZPSlider.
//   label:     caption, shown verbatim;  showInfo: an information symbol follows it
//   value, from, to, stepSize: as ZPSlider
//   format:    function (value) -> text for the read-out (ValueText helpers)
//   moved(value), committed(): as ZPSlider
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls

ColumnLayout {
    id: row
    property string label
    property bool showInfo: false
    property real value: 0
    property real from: 0
    property real to: 1
    property real stepSize: 0.01
    property var format: function (v) { return ValueText.number(v, 2) }
    signal moved(real value)
    signal committed()

    spacing: 8

    RowLayout {
        Layout.fillWidth: true
        Text {
            text: row.label
            font: Theme.headlineFont
            color: Theme.textPrimary
        }
        ZPIcon {
            visible: row.showInfo
            symbol: "info.circle"
            size: 12
            color: Theme.textTertiary
        }
        Item { Layout.fillWidth: true }
        // Fixed-width digits, so the read-out keeps its width during a drag.
        FixedDigitsText {
            objectName: "valueText"
            text: row.format(row.value)
            font: Theme.bodyFont
            color: Theme.textSecondary
        }
    }
    ZPSlider {
        objectName: "slider"
        Layout.fillWidth: true
        value: row.value
        from: row.from
        to: row.to
        stepSize: row.stepSize
        Accessible.name: row.label
        onMoved: (v) => row.moved(v)
        onCommitted: row.committed()
    }
}
