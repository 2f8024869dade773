// Shared by the batch views' tests: finds items by objectName, fills the
// batch's queue with pictures (and broken files) and runs its work.
import QtQuick
import QtTest
import Zephrin.Model
import Zephrin.TestSupport

TestCase {
    id: harness
    when: windowShown
    visible: true
    width: 1000
    height: 900

    readonly property var batch: Editor.batch

    function cleanup() {
        batch.clear()
        Driver.settle()
        batch.usePreset = false
        batch.format = "PNG"
        batch.longEdge = 2400
        batch.lastError = ""
        batch.showImporter = false
        Editor.batchMode = false
    }

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

    // Queues pictures named in `names` (a name holding "broken" is a text
    // file under an image's name) and makes their previews.
    function queue(names) {
        const urls = names.map(name => name.indexOf("broken") >= 0
                               ? Driver.writeText(name, "not a picture")
                               : Driver.writePicture(name, 120, 80))
        batch.add(urls)
        while (Driver.pendingJobs() > 0 && !batch.isRunning)
            Driver.runJob()
    }

    // Cuts `count` files of a started run.
    function cut(count) {
        for (let i = 0; i < count; ++i)
            verify(Driver.runJob())
    }
}
