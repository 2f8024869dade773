import QtQuick
import QtTest
import Zephrin.Controls
import Zephrin.Inspector
import Zephrin.Model
import Zephrin.Shell
import Zephrin.TestSupport

TestCase {
    id: testCase
    name: "NeedsCutoutNote"
    when: windowShown
    visible: true
    width: 310
    height: 600

    Component {
        id: panelComponent
        SubjectPanelStack {
            width: 278
            title: "Effects"
            symbol: "sparkles"
            ZPToggleRow {
                objectName: "hostControl"
                label: "Shadow"
            }
        }
    }

    function cleanup() {
        Editor.clearDocument()
        Driver.settle()
        Editor.cutoutMethod = "Auto Subject"
    }

    function openWithoutCutout() {
        Settings.autoSubjectOnImport = false
        Driver.openPicture(80, 60)
        Settings.autoSubjectOnImport = true
        verify(Editor.document !== undefined && Editor.cutout === undefined)
    }

    // Lets the layouts around an item place it.
    function settle(item) {
        for (let p = item; p; p = p.parent)
            waitForItemPolished(p)
    }
    function click(item) {
        settle(item)
        mouseClick(item)
    }

    function child(root, name) {
        const found = findChild(root, name)
        verify(found, "no item " + name)
        return found
    }

    function test_theNoteFollowsTheDocumentAndTheCutout() {
        const panel = createTemporaryObject(panelComponent, testCase)
        const note = child(panel, "needsCutoutNote")
        const body = child(panel, "subjectPanelBody")
        // Nothing open: no note, and it takes no room.
        verify(!note.visible)
        const emptyHeight = panel.implicitHeight

        openWithoutCutout()
        settle(body)
        verify(note.visible)
        verify(panel.implicitHeight > emptyHeight + note.height)
        verify(!body.enabled)
        compare(body.opacity, 0.6)
        verify(!child(panel, "hostControl").enabled)

        // The note is dimmed with the panel, but its button works although
        // the panel around it is disabled.
        compare(note.opacity, 0.6)
        verify(child(panel, "noteAutoSubject").enabled)
        Editor.cutoutMethod = "Flat Color"
        click(child(panel, "noteAutoSubject"))
        compare(Editor.cutoutMethod, "Auto Subject")
        verify(Editor.isProcessing)
        // While the cutout runs both buttons wait, and the note stays.
        verify(!child(panel, "noteAutoSubject").enabled)
        verify(!child(panel, "noteRemoveColor").enabled)
        verify(note.visible)
        Driver.settle()
        verify(Editor.cutout !== undefined)
        verify(!note.visible)
        verify(body.enabled)
        compare(body.opacity, 1)
    }

    function test_removeBackgroundColorSwitchesToFlatColor() {
        const panel = createTemporaryObject(panelComponent, testCase)
        openWithoutCutout()
        click(child(panel, "noteRemoveColor"))
        compare(Editor.cutoutMethod, "Flat Color")
        verify(Editor.isProcessing)
        Driver.settle()
        verify(Editor.cutout !== undefined)
        verify(!child(panel, "needsCutoutNote").visible)
    }
}
