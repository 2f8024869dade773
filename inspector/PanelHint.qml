// A hint or note line of a panel: 11-pt medium, tertiary text, wrapping to
// the width the panel's column gives it.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls

Text {
    Layout.fillWidth: true
    font: Theme.captionFont
    color: Theme.textTertiary
    wrapMode: Text.WordWrap
}
