import QtQuick
import QtTest
import Zephrin.Controls

TestCase {
    id: testCase
    name: "FixedDigitsText"
    width: 400
    height: 100
    visible: true
    when: windowShown

    Component { id: lineComponent; FixedDigitsText {} }

    // Sizes and percentages that change while a value moves keep their width
    // (the theme's font draws a 1 far narrower than an 8); the spaces and
    // signs between the numbers keep theirs.
    // The width of the line laid out with `text`.
    function widthOf(text) {
        const line = createTemporaryObject(lineComponent, testCase, { text: text })
        waitForItemPolished(line)
        return line.implicitWidth
    }

    function test_numbersOfOneLengthTakeOneWidth() {
        const narrow = widthOf("1111 × 1111")
        for (const text of ["8888 × 8888", "1080 × 1215", "4000 × 3000"])
            fuzzyCompare(widthOf(text), narrow, 0.01, text)
        verify(widthOf("1111×1111") < narrow - 4, "the spaces count")
        fuzzyCompare(widthOf("475%"), widthOf("100%"), 0.01)
        verify(widthOf("—") > 0)
    }
}
