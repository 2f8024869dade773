// The checklist of the active listing preset: whether the result as it stands
// meets each requirement. Read-only; it follows the model as settings change,
// and takes no room without a preset or rows.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Inspector
import Zephrin.Model

Rectangle {
    id: card
    readonly property var items: Editor.complianceItems
    readonly property bool met: PanelRules.allMet(items)

    objectName: "complianceList"
    visible: Editor.activePreset !== undefined && items.length > 0
    Layout.fillWidth: true
    implicitWidth: column.implicitWidth + 24
    implicitHeight: column.implicitHeight + 24
    radius: 12
    color: Theme.control

    ColumnLayout {
        id: column
        x: 12
        y: 12
        width: card.width - 24
        spacing: 8

        RowLayout {
            Layout.fillWidth: true
            spacing: 8
            ZPIcon {
                objectName: "complianceIcon"
                symbol: card.met ? "checkmark.seal.fill" : "exclamationmark.triangle.fill"
                size: 15
                color: card.met ? Theme.success : Theme.accentPink
            }
            Text {
                objectName: "complianceHeading"
                Layout.fillWidth: true
                text: PanelRules.complianceHeading(Editor.activePreset || "", card.met)
                font: Theme.headlineFont
                color: Theme.textPrimary
                wrapMode: Text.WordWrap
            }
        }
        Repeater {
            model: card.items
            delegate: RowLayout {
                required property var modelData
                required property int index
                objectName: "complianceRow" + index
                Layout.fillWidth: true
                spacing: 8
                ZPIcon {
                    Layout.alignment: Qt.AlignTop
                    symbol: modelData.ok ? "checkmark.circle" : "xmark.circle"
                    size: 12
                    color: modelData.ok ? Theme.success : Theme.accentPink
                }
                Text {
                    objectName: "complianceText"
                    Layout.fillWidth: true
                    text: modelData.text
                    font: Theme.captionFont
                    color: modelData.ok ? Theme.textSecondary : Theme.textPrimary
                    wrapMode: Text.WordWrap
                }
            }
        }
    }
}
