// A row of chips sized to their titles, scrolling sideways when they need more
// than the width, without a scroll bar.
//   titles:  the chip titles, in order;  current: the title that is on
//   chosen(title): a chip was clicked
import QtQuick

Flickable {
    id: scroller
    property var titles: []
    property string current
    signal chosen(string title)

    implicitHeight: 28
    contentWidth: row.width
    contentHeight: height
    flickableDirection: Flickable.HorizontalFlick
    boundsBehavior: Flickable.StopAtBounds
    clip: true

    Row {
        id: row
        spacing: 4
        Repeater {
            model: scroller.titles
            BDChip {
                required property string modelData
                title: modelData
                on: modelData === scroller.current
                height: 28
                onClicked: scroller.chosen(modelData)
            }
        }
    }
}
