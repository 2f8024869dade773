// Shared by the pickers' tests: finds items by objectName through the visual
// tree and every object's data (delegates, loaders and popups included), and
// resets the editor's text layers.
import QtQuick
import QtTest
import Zephrin.Model
import Zephrin.TestSupport

TestCase {
    when: windowShown
    visible: true
    width: 420
    height: 1000

    function find(root, name, seen) {
        seen = seen || new Set()
        if (!root || seen.has(root))
            return null
        seen.add(root)
        if (root.objectName === name)
            return root
        const lists = [root.children, root.data, root.contentData]
        if (root.contentItem)
            lists.push([root.contentItem])
        if (root.item)
            lists.push([root.item])
        if (root.background)
            lists.push([root.background])
        for (const list of lists) {
            if (!list)
                continue
            for (let i = 0; i < list.length; ++i) {
                const found = find(list[i], name, seen)
                if (found)
                    return found
            }
        }
        return null
    }

    function item(root, name) {
        const found = find(root, name)
        verify(found, "no item named " + name)
        return found
    }

    // A document with its cutout, no text layers, nothing selected.
    function freshDocument() {
        Driver.openPicture(120, 80)
        while (Editor.comp.texts.length > 0) {
            Editor.deleteTextLayer(Editor.comp.texts[0].id)
            Driver.settle()
        }
        Editor.selectedTextID = ""
        verify(Editor.cutout !== undefined)
    }

    function layers() { return Editor.comp.texts }
}
