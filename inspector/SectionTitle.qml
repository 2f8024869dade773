// A section's title inside a panel: 15-point semibold, primary text.
import QtQuick
import Zephrin.Controls

Text {
    font: Theme.headlineFont
    color: Theme.textPrimary
}
