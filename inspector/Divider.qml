// The 1-point rule between a panel's sections, full width.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls

Rectangle {
    Layout.fillWidth: true
    implicitHeight: 1
    color: Theme.border
}
