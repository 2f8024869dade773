// Shared by the window tests: builds the main window and finds its parts.
import QtQuick
import QtTest
import Zephrin.App

TestCase {
    id: harness
    when: windowShown
    visible: true
    width: 100
    height: 100

    Component { id: mainComponent; Main {} }

    function openWindow() {
        const window = createTemporaryObject(mainComponent, harness)
        verify(window)
        tryVerify(() => window.visible && window.width === 1280)
        waitForRendering(window.contentItem)
        // Keys go to the active window.
        window.requestActivate()
        tryVerify(() => window.active)
        return window
    }

    // Items by objectName through the visual tree (delegates included).
    // Items and popups by objectName, through the visual tree and every
    // object's data (delegates, menus and popups included).
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
        if (root.item)  // what a Loader made
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

    // The menu bar entry of an action by objectName, and its menu.
    function menuEntry(window, name) {
        const bar = window.menuBar
        for (let m = 0; m < bar.count; ++m) {
            const menu = bar.menuAt(m)
            for (let i = 0; i < menu.count; ++i) {
                const entry = menu.itemAt(i)
                if (entry && entry.action && entry.action.objectName === name)
                    return { entry: entry, menu: menu, barItem: bar.itemAt(m) }
            }
        }
        fail("no action " + name)
    }

    // Opens the action's menu by clicking its title in the bar, and chooses it.
    function chooseWithTheMouse(window, name) {
        const found = menuEntry(window, name)
        mouseClick(found.barItem)
        tryVerify(() => found.menu.opened)
        waitForItemPolished(found.entry)
        mouseClick(found.entry)
        tryVerify(() => !found.menu.visible)
    }

    // A menu bar action by objectName.
    function action(window, name) {
        const bar = window.menuBar
        for (let m = 0; m < bar.count; ++m) {
            const menu = bar.menuAt(m)
            for (let i = 0; i < menu.count; ++i) {
                const entry = menu.itemAt(i)
                if (entry && entry.action && entry.action.objectName === name)
                    return entry.action
            }
        }
        fail("no action " + name)
    }

    function item(window, name) {
        const found = find(window, name)
        verify(found, "no item named " + name)
        return found
    }
}
