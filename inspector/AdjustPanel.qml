// The adjust tool's panel: exposure, contrast, saturation and warmth of the
// subject or of the background (the target chips pick the set the sliders
// edit), a Reset of that set, and below them the colour panel. Background
// adjustments act only over the photo's own background or a picture, so the
// background target is explained and locked for the other modes.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Inspector
import Zephrin.Model

SubjectPanelStack {
    id: panel
    // The panel's own choice; a new panel starts on the subject.
    property string target: "Subject"
    readonly property string targetKey: target === "Subject" ? "subject" : "background"
    readonly property var adjust: target === "Subject" ? Editor.comp.subjectAdjust : Editor.comp.backgroundAdjust
    readonly property bool locked: PanelRules.adjustLocked(target, Editor.comp.backgroundMode)

    title: "Adjust"
    symbol: "slider.horizontal.3"

    ZPChipRow {
        objectName: "adjustTargetChips"
        Layout.fillWidth: true
        options: ["Subject", "Background"]
        selection: panel.target
        onSelected: (option) => panel.target = option
    }
    HintText {
        objectName: "adjustLockNote"
        visible: panel.locked
        text: "Background adjustments apply when the background is Original or Image."
    }
    ColumnLayout {
        objectName: "adjustSliders"
        Layout.fillWidth: true
        spacing: 24
        enabled: !panel.locked
        opacity: panel.locked ? 0.4 : 1
        SettingSlider {
            adjustTarget: panel.targetKey
            objectName: "exposureRow"
            label: "Exposure"
            field: "exposure"
            format: (v) => ValueText.signedEV(v)
        }
        SettingSlider {
            adjustTarget: panel.targetKey
            objectName: "contrastRow"
            label: "Contrast"
            field: "contrast"
            format: (v) => ValueText.signedWhole(v, 1, "%")
        }
        SettingSlider {
            adjustTarget: panel.targetKey
            objectName: "saturationRow"
            label: "Saturation"
            field: "saturation"
            format: (v) => ValueText.signedWhole(v, 1, "%")
        }
        SettingSlider {
            adjustTarget: panel.targetKey
            objectName: "warmthRow"
            label: "Warmth"
            field: "warmth"
            format: (v) => ValueText.signedWhole(v, 1, "")
        }
    }
    RowLayout {
        Layout.fillWidth: true
        Item { Layout.fillWidth: true }
        ZPSecondaryButton {
            objectName: "adjustReset"
            readonly property bool hasWork: !PanelRules.isNeutralAdjust(panel.adjust)
            text: "Reset"
            symbol: "arrow.counterclockwise"
            implicitHeight: 36
            enabled: hasWork
            opacity: hasWork ? 1 : 0.5
            onClicked: Editor.resetAdjust(panel.targetKey)
        }
    }
    Divider {}
    ColorPanel {
        Layout.fillWidth: true
    }
}
