// The effects tool's panel: the drop shadow and the outline drawn around the
// subject. A section's controls are dimmed and inert while its switch is off;
// turning it off keeps their values.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model

SubjectPanelStack {
    id: panel
    readonly property bool shadowOn: Editor.comp.shadowEnabled
    readonly property bool outlineOn: Editor.comp.outlineEnabled
    readonly property var pixels: (v) => ValueText.wholeWith(v, 1, " px")

    title: "Effects"
    symbol: "sparkles"

    ColumnLayout {
        Layout.fillWidth: true
        spacing: 12
        ZPToggleRow {
            objectName: "shadowToggle"
            Layout.fillWidth: true
            label: "Drop shadow"
            on: panel.shadowOn
            onToggled: (on) => Editor.setComp("shadowEnabled", on)
        }
        ColumnLayout {
            objectName: "shadowGroup"
            Layout.fillWidth: true
            spacing: 12
            enabled: panel.shadowOn
            opacity: panel.shadowOn ? 1 : 0.4
            SettingSlider {
                objectName: "shadowOpacityRow"
                label: "Opacity"
                field: "shadowOpacity"
                format: (v) => ValueText.wholeWith(v, 1, "%")
            }
            SettingSlider {
                objectName: "shadowBlurRow"
                label: "Softness"
                field: "shadowBlur"
                format: panel.pixels
            }
            SettingSlider {
                objectName: "shadowOffsetXRow"
                label: "Offset X"
                field: "shadowOffsetX"
                format: panel.pixels
            }
            SettingSlider {
                objectName: "shadowOffsetYRow"
                label: "Offset Y"
                field: "shadowOffsetY"
                format: panel.pixels
            }
        }
    }
    Divider {}
    ColumnLayout {
        Layout.fillWidth: true
        spacing: 12
        ZPToggleRow {
            objectName: "outlineToggle"
            Layout.fillWidth: true
            label: "Outline"
            note: "Sticker-style stroke around the subject"
            on: panel.outlineOn
            onToggled: (on) => Editor.setComp("outlineEnabled", on)
        }
        ColumnLayout {
            objectName: "outlineGroup"
            Layout.fillWidth: true
            spacing: 12
            enabled: panel.outlineOn
            opacity: panel.outlineOn ? 1 : 0.4
            SettingSlider {
                objectName: "outlineWidthRow"
                label: "Width"
                field: "outlineWidth"
                format: panel.pixels
            }
            ZPColorRow {
                objectName: "outlineColorRow"
                Layout.fillWidth: true
                label: "Color"
                color: Editor.comp.outlineColor
                onPicked: (c) => Editor.setComp("outlineColor", c)
            }
        }
    }
}
