import QtQuick
import QtQuick.Controls
import QtTest
import Zephrin.Controls

TestCase {
    id: testCase
    name: "ZPButtons"
    width: 400
    height: 300
    visible: true
    when: windowShown

    Component { id: primaryComponent; ZPPrimaryButton { text: "Export"; height: 40 } }
    Component { id: iconComponent; ZPIconButton { symbol: "arrow.uturn.backward"; label: "Undo" } }
    Component { id: cardComponent; ZPOptionCard { text: "Circle"; symbol: "photo"; width: 90 } }

    SignalSpy { id: clickedSpy; signalName: "clicked" }

    function test_disabledPrimaryButtonIsDimmedAndInert() {
        const button = createTemporaryObject(primaryComponent, testCase, { enabled: false })
        clickedSpy.target = button
        clickedSpy.clear()
        compare(button.opacity, 0.55)
        mouseClick(button)
        compare(clickedSpy.count, 0)
        button.enabled = true
        compare(button.opacity, 1)
        mouseClick(button)
        compare(clickedSpy.count, 1)
    }

    function test_primaryButtonWithoutSymbolIsItsTitleAndPadding() {
        const plain = createTemporaryObject(primaryComponent, testCase, {})
        const withSymbol = createTemporaryObject(primaryComponent, testCase, { symbol: "square.and.arrow.up" })
        verify(withSymbol.implicitWidth > plain.implicitWidth + 8)
        fuzzyCompare(plain.implicitWidth, plain.contentItem.implicitWidth + 32, 0.5)
    }

    function test_iconButtonColoursFollowEnabledThenActive() {
        const button = createTemporaryObject(iconComponent, testCase, { active: true, enabled: false })
        clickedSpy.target = button
        clickedSpy.clear()
        compare(button.contentItem.color, Theme.textTertiary)
        compare(button.background.color, Theme.control)
        mouseClick(button)
        compare(clickedSpy.count, 0)
        button.enabled = true
        compare(button.contentItem.color, Theme.accentLight)
        button.active = false
        compare(button.contentItem.color, Theme.textPrimary)
        compare(button.Accessible.name, "Undo")
        compare(button.ToolTip.text, "Undo")
    }

    function test_selectedOptionCardStillReportsPresses() {
        const card = createTemporaryObject(cardComponent, testCase, { selected: true })
        clickedSpy.target = card
        clickedSpy.clear()
        mouseClick(card)
        compare(clickedSpy.count, 1)
        verify(card.selected)
        compare(card.background.border.color, Theme.accent)
    }
}
