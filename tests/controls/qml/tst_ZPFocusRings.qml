import QtQuick
import QtTest
import Zephrin.Controls

// Every control that the keyboard reaches shows it: Tab gives it the focus
// and its ring appears; the ring goes with the focus. Space then presses
// only the control that shows it.
TestCase {
    id: testCase
    name: "ZPFocusRings"
    width: 400
    height: 300
    visible: true
    when: windowShown

    Component { id: primary; ZPPrimaryButton { text: "Export"; height: 40 } }
    Component { id: secondary; ZPSecondaryButton { text: "Browse" } }
    Component { id: iconButton; ZPIconButton { symbol: "xmark"; label: "Close" } }
    Component { id: card; ZPOptionCard { text: "Circle"; symbol: "photo"; width: 90 } }
    Component { id: chips; ZPChipRow { width: 300; options: ["PNG", "JPG"]; selection: "JPG" } }
    Component { id: menu; ZPMenuRow { width: 300; label: "Size"; options: ["800 px"]; selection: "800 px" } }
    Component { id: toggle; ZPToggle {} }
    Component { id: colour; ZPColorRow { width: 300; label: "Colour"; color: "red" } }
    Component { id: slider; ZPSlider {} }
    Component { id: elsewhere; Item { activeFocusOnTab: false } }

    function test_theFocusedControlShowsItsRing_data() {
        return [
            { tag: "primary button", component: primary, target: "" },
            { tag: "secondary button", component: secondary, target: "" },
            { tag: "icon button", component: iconButton, target: "" },
            { tag: "option card", component: card, target: "" },
            { tag: "chip", component: chips, target: "chip:PNG" },
            { tag: "menu", component: menu, target: "menuButton" },
            { tag: "switch", component: toggle, target: "switch" },
            { tag: "colour well", component: colour, target: "well" },
            { tag: "slider", component: slider, target: "" },
        ]
    }

    function test_theFocusedControlShowsItsRing(data) {
        const made = createTemporaryObject(data.component, testCase)
        const control = data.target === "" ? made : findChild(made, data.target)
        verify(control, data.target)
        const ring = findChild(control, "focusRing")
        verify(ring, "no ring")
        verify(!ring.visible)
        keyClick(Qt.Key_Tab)
        verify(control.activeFocus)
        verify(ring.visible)
        compare(ring.border.color, Theme.focusRing)
        createTemporaryObject(elsewhere, testCase).forceActiveFocus()
        verify(!control.activeFocus)
        verify(!ring.visible)
    }
}
