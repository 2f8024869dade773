// A 1-pt rule across a panel in the border colour.
import QtQuick
import QtQuick.Layouts
import Zephrin.Controls

Rectangle {
    Layout.fillWidth: true
    implicitHeight: 1
    color: Theme.border
}
