// A hint or note under a panel's controls: 11-point medium text in the
// tertiary colour, wrapped to the column.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls

Text {
    Layout.fillWidth: true
    font: Theme.captionFont
    color: Theme.textTertiary
    wrapMode: Text.WordWrap
}
