// One of the gradient's direction presets: an arrow, lit while the angle is
// within half a degree of the preset's.
//   symbol, angle (degrees);  chosen(): the button was pressed
import QtQuick
import QtQuick.Templates as T
import Zephrin.Controls
import Zephrin.Inspector
import Zephrin.Model

T.Button {
    id: button
    property string symbol
    property real angle
    readonly property bool isSelected: PanelRules.isAnglePreset(Editor.gradientAngle, angle)
    signal chosen()

    objectName: "anglePreset:" + angle
    implicitWidth: 34
    implicitHeight: 30
    focusPolicy: Qt.TabFocus
    Accessible.name: angle + "°"
    Accessible.checkable: true
    Accessible.checked: isSelected
    onClicked: button.chosen()

    contentItem: ZPIcon {
        symbol: button.symbol
        size: 13
        font.weight: Font.DemiBold
        color: button.isSelected ? Theme.textPrimary : Theme.textSecondary
        opacity: button.down ? 0.7 : 1
    }
    background: Rectangle {
        radius: 6
        color: button.isSelected ? Theme.control : Theme.surface
        border.color: button.isSelected ? Theme.accent : Theme.accentTintSoft
        border.width: 1
    }
}
