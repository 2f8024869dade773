// A row of chips sized to their titles, scrolling sideways when they need more
// than the width, without a scroll bar. A mouse wheel turned over the row
// scrolls it sideways too, so chips past the right edge can be reached
// without a horizontal wheel; once the row can go no further that way, the
// wheel scrolls what holds the row.
//   titles:  the chip titles, in order;  current: the title that is on
//   labelFor(title): the text a chip shows (its title unless given)
//   namePrefix: the chips' object names are namePrefix + title
//   chosen(title): a chip was clicked
import QtQuick

Flickable {
    id: scroller
    property var titles: []
    property string current
    property var labelFor: (title) => title
    property string namePrefix: "chip:"
    signal chosen(string title)

    implicitHeight: 28
    contentWidth: row.width
    contentHeight: height
    flickableDirection: Flickable.HorizontalFlick
    boundsBehavior: Flickable.StopAtBounds
    clip: true

    // Under the chips, which take no wheel.
    MouseArea {
        objectName: "chipWheel"
        width: Math.max(scroller.contentWidth, scroller.width)
        height: scroller.height
        acceptedButtons: Qt.NoButton
        onWheel: (wheel) => {
            const pixels = wheel.pixelDelta.x !== 0 || wheel.pixelDelta.y !== 0
            const delta = pixels ? (Math.abs(wheel.pixelDelta.y) > Math.abs(wheel.pixelDelta.x)
                                    ? wheel.pixelDelta.y : wheel.pixelDelta.x)
                                 : (Math.abs(wheel.angleDelta.y) > Math.abs(wheel.angleDelta.x)
                                    ? wheel.angleDelta.y : wheel.angleDelta.x) / 3
            const farthest = Math.max(0, scroller.contentWidth - scroller.width)
            const next = Math.max(0, Math.min(farthest, scroller.contentX - delta))
            wheel.accepted = next !== scroller.contentX
            scroller.contentX = next
        }
    }

    Row {
        id: row
        spacing: 4
        Repeater {
            model: scroller.titles
            BDChip {
                required property string modelData
                objectName: scroller.namePrefix + modelData
                title: scroller.labelFor(modelData)
                on: modelData === scroller.current
                height: 28
                onClicked: scroller.chosen(modelData)
            }
        }
    }
}
