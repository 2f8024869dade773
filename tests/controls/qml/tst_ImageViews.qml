import QtQuick
import QtTest
import Zephrin.Controls

TestCase {
    id: testCase
    name: "ImageViews"
    width: 300
    height: 200
    visible: true
    when: windowShown

    Component { id: boardComponent; CheckerboardView { width: 100; height: 50; cell: 8 } }

    function test_checkerboardStartsLightAndAlternates() {
        const board = createTemporaryObject(boardComponent, testCase, {})
        waitForRendering(board)
        const image = grabImage(board)
        compare(image.pixel(1, 1), Theme.checkerLight)
        compare(image.pixel(9, 1), Theme.checkerDark)
        compare(image.pixel(9, 9), Theme.checkerLight)
        // 13 columns and 7 rows, the last ones cut: column 12, row 6 is light.
        compare(image.pixel(99, 49), Theme.checkerLight)
        compare(image.pixel(99, 41), Theme.checkerDark)
    }
}
