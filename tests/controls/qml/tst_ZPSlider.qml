import QtQuick
import QtTest
import Zephrin.Controls

TestCase {
    id: testCase
    name: "ZPSlider"
    width: 400
    height: 200
    visible: true
    when: windowShown

    Component {
        id: sliderComponent
        // The model's side: every request is written back, as a panel does.
        ZPSlider {
            id: slider
            width: 200
            property int writes: 0
            onMoved: (v) => { value = v; writes += 1 }
        }
    }

    SignalSpy { id: committedSpy; signalName: "committed" }

    function makeSlider(properties) {
        const slider = createTemporaryObject(sliderComponent, testCase, properties)
        committedSpy.target = slider
        committedSpy.clear()
        return slider
    }

    function test_clickSetsTheValueUnderThePointerAndCommitsOnce() {
        const slider = makeSlider({ from: 0, to: 100, stepSize: 1, value: 0 })
        mouseClick(slider, 114, 12)
        compare(slider.value, 57)
        compare(slider.writes, 1)
        compare(committedSpy.count, 1)
    }

    function test_dragPastTheEndsGivesTheEndsOnTheGrid_data() {
        return [
            { tag: "0…100 by 1", from: 0, to: 100, step: 1, low: 0, high: 100 },
            { tag: "5…100 by 10", from: 5, to: 100, step: 10, low: 10, high: 100 },
            // 12 is the grid point nearest the top, but lies outside the range.
            { tag: "0…10 by 4", from: 0, to: 10, step: 4, low: 0, high: 10 },
            { tag: "-1…1 by 0.25", from: -1, to: 1, step: 0.25, low: -1, high: 1 },
        ]
    }

    function test_dragPastTheEndsGivesTheEndsOnTheGrid(data) {
        const slider = makeSlider({ from: data.from, to: data.to, stepSize: data.step, value: (data.from + data.to) / 2 })
        mousePress(slider, 100, 12)
        mouseMove(slider, -80, 12)
        compare(slider.value, data.low)
        mouseMove(slider, 350, 12)
        compare(slider.value, data.high)
        mouseRelease(slider, 350, 12)
        compare(committedSpy.count, 1)
        verify(slider.value >= data.from && slider.value <= data.to)
    }

    function test_aDragWithinOneStepWritesOnce() {
        const slider = makeSlider({ from: 0, to: 10, stepSize: 1, value: 0 })
        mousePress(slider, 100, 12)          // 5
        for (let x = 101; x < 109; ++x)      // still 5 (5.05 … 5.45)
            mouseMove(slider, x, 12)
        mouseRelease(slider, 108, 12)
        compare(slider.value, 5)
        compare(slider.writes, 1)
        compare(committedSpy.count, 1)
    }

    function test_arrowsStepAFocusedSliderWithinItsRange() {
        const slider = makeSlider({ from: 0, to: 10, stepSize: 2, value: 5 })
        keyClick(Qt.Key_Right)
        compare(slider.value, 5)  // not focused
        mouseClick(slider, 100, 12)  // a click gives the focus
        verify(slider.activeFocus)
        compare(slider.value, 6)
        keyClick(Qt.Key_Right)
        keyClick(Qt.Key_Up)
        compare(slider.value, 10)
        keyClick(Qt.Key_Right)  // at the end: nothing written
        compare(slider.writes, 3)
        keyClick(Qt.Key_Left)
        keyClick(Qt.Key_Down)
        compare(slider.value, 6)
        compare(committedSpy.count, 6)
    }

    function test_fillAndThumbFollowTheValue_data() {
        return [
            { tag: "lower end", value: 0, fill: 0, thumb: 0 },
            { tag: "middle", value: 50, fill: 100, thumb: 92 },
            { tag: "upper end", value: 100, fill: 200, thumb: 184 },
            { tag: "below the range", value: -20, fill: 0, thumb: 0 },
            { tag: "above the range", value: 130, fill: 200, thumb: 184 },
        ]
    }

    function test_fillAndThumbFollowTheValue(data) {
        const slider = makeSlider({ from: 0, to: 100, stepSize: 1, value: data.value })
        compare(findChild(slider, "fill").width, data.fill)
        compare(findChild(slider, "thumb").x, data.thumb)
    }

    Component {
        id: rowComponent
        ZPSliderRow {
            width: 260
            label: "Feather"
            from: 0; to: 100; stepSize: 1
            format: (v) => ValueText.pixels(v)
            onMoved: (v) => value = v
        }
    }

    function test_rowReadsOutTheValueWhileDragging() {
        const row = createTemporaryObject(rowComponent, testCase, { value: 12 })
        const text = findChild(row, "valueText")
        compare(text.text, "12 px")
        const slider = findChild(row, "slider")
        mousePress(slider, slider.width * 0.25, 12)
        compare(text.text, "25 px")
        mouseRelease(slider, slider.width * 0.25, 12)
    }
}
