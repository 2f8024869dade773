// The slider: a 4-pt track, a violet fill and a 16-pt thumb, 24 pt high.
//   value:    the number shown (bound to the model; never written here)
//   from, to: the range (from < to); stepSize: the grid of written values (> 0)
//   moved(value): the pointer or an arrow key asks for a new value, snapped
//                 to the grid and kept in the range; sent only when it
//                 differs from `value`
//   committed():  the drag ended (also after a click without movement), or
//                 an arrow key's step was taken
// A click or Tab gives it the keyboard focus (a ring round the thumb); the
// arrow keys then step it, left and down lower, right and up higher.
import QtQuick
import Zephrin.Controls

Item {
    id: slider
    property real value: 0
    property real from: 0
    property real to: 1
    property real stepSize: 0.01
    readonly property bool pressed: area.pressed
    signal moved(real value)
    signal committed()

    implicitWidth: 200
    implicitHeight: 24
    activeFocusOnTab: true
    Accessible.role: Accessible.Slider

    function step(steps) {
        const next = SliderMath.stepped(value, steps, from, to, stepSize)
        if (next !== value)
            moved(next)
        committed()
    }
    Keys.onLeftPressed: step(-1)
    Keys.onDownPressed: step(-1)
    Keys.onRightPressed: step(1)
    Keys.onUpPressed: step(1)

    Rectangle {
        id: track
        objectName: "track"
        anchors.verticalCenter: parent.verticalCenter
        width: slider.width
        height: 4
        radius: 2
        color: Theme.border
    }
    Rectangle {
        id: fill
        objectName: "fill"
        anchors.verticalCenter: parent.verticalCenter
        width: SliderMath.fillWidth(slider.value, slider.width, slider.from, slider.to)
        height: 4
        radius: 2
        color: Theme.accent
    }
    Item {
        id: thumb
        objectName: "thumb"
        x: SliderMath.thumbOffset(slider.value, slider.width, slider.from, slider.to)
        anchors.verticalCenter: parent.verticalCenter
        width: 16
        height: 16
        ZPShadow {
            color: Theme.thumbShadow
            blur: 3
            offsetY: 1
            cornerRadius: 8
        }
        Rectangle {
            anchors.fill: parent
            radius: 8
            color: Theme.textPrimary
        }
        ZPFocusRing {
            shown: slider.activeFocus
            faceRadius: 8
        }
    }

    MouseArea {
        id: area
        anchors.fill: parent
        preventStealing: true

        function request(x) {
            const next = SliderMath.valueAt(x, slider.width, slider.from, slider.to, slider.stepSize)
            if (next !== slider.value)
                slider.moved(next)
        }
        onPressed: (mouse) => {
            slider.forceActiveFocus(Qt.MouseFocusReason)
            request(mouse.x)
        }
        onPositionChanged: (mouse) => request(mouse.x)
        onReleased: slider.committed()
        onCanceled: slider.committed()
    }
}
