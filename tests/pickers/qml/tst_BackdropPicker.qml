import QtQuick
import QtTest
import Zephrin.Model
import Zephrin.Pickers
import Zephrin.TestSupport

// The backdrop picker: its tabs, the notice above every tab, and "Use Your
// Own Image…".
Item {
    id: root
    width: 300
    height: 800

    Component {
        id: pickerComponent
        BackdropPickerView { width: 280 }
    }

    TestCase {
        name: "BackdropPicker"
        when: windowShown

        function find(item, name) {
            if (!item)
                return null
            if (item.objectName === name)
                return item
            for (let i = 0; i < item.children.length; ++i) {
                const found = find(item.children[i], name)
                if (found)
                    return found
            }
            return null
        }

        function cleanup() {
            Editor.showImporter = false
            Editor.importTarget = "document"
        }

        function test_tabsShowOneGridEachAndMakeItAnew() {
            const picker = createTemporaryObject(pickerComponent, root)
            compare(picker.mode, 0)
            verify(find(picker, "photoGrid"))
            verify(find(picker, "chip:Photos").on)
            mouseClick(find(picker, "chip:Studio & Color"))
            compare(picker.mode, 1)
            verify(find(picker, "generatedGrid"))
            verify(!find(picker, "photoGrid"))
            // The generated grid starts on Studio each time its tab opens.
            picker.grid.gridState.category = "Texture"
            mouseClick(find(picker, "chip:My Backgrounds"))
            compare(picker.mode, 2)
            verify(find(picker, "myBackgroundsGrid"))
            mouseClick(find(picker, "chip:Studio & Color"))
            compare(picker.grid.gridState.category, "Studio")
        }

        function test_anyOtherModeShowsMyBackgroundsWithNoTabOn() {
            const picker = createTemporaryObject(pickerComponent, root, { mode: 7 })
            verify(find(picker, "myBackgroundsGrid"))
            verify(!find(picker, "chip:My Backgrounds").on)
            verify(!find(picker, "chip:Photos").on)
        }

        function test_noticesShowOnEveryTabAsSuccessOrWarning() {
            const picker = createTemporaryObject(pickerComponent, root, { mode: 1 })
            const notice = find(picker, "backdropNotice")
            verify(!notice.visible)
            BackdropDriver.showAddedNotice()
            verify(notice.visible)
            compare(find(picker, "noticeText").text, "Added to My Backgrounds")
            verify(notice.success)
            picker.mode = 0
            verify(notice.visible)
            // A failure is a warning in the pink accent, not a success check.
            BackdropDriver.showNotice("Couldn't save that background.")
            verify(!notice.success)
            compare(find(picker, "noticeIcon").color, Qt.color("#D946EF"))
            compare(find(picker, "noticeText").text, "Couldn't save that background.")
        }

        function test_useYourOwnImageOpensTheImporterForTheBackground() {
            const picker = createTemporaryObject(pickerComponent, root)
            Editor.showImporter = true
            mouseClick(find(picker, "useOwnImage"))
            compare(Editor.importTarget, "background")
            verify(Editor.showImporter)
        }
    }
}
