import QtQuick
import QtTest
import Zephrin.Model
import Zephrin.Pickers
import Zephrin.TestSupport

// The generated grid: categories, the custom gradient editor, the ring, and
// thumbnails rendered once while tiles come and go.
Item {
    id: root
    width: 300
    height: 800

    Component {
        id: gridComponent
        GeneratedBackdropGrid { width: 280 }
    }

    TestCase {
        name: "GeneratedBackdropGrid"
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
            Editor.customBackdropShape = "Fade"
        }

        function test_theCustomEditorIsThereOnlyUnderGradient() {
            const grid = createTemporaryObject(gridComponent, root)
            compare(grid.gridState.tiles.count, 6)
            verify(!find(grid, "customGradient"))
            mouseClick(find(grid, "chip:Gradient"))
            verify(find(grid, "chip:Gradient").on)
            compare(grid.gridState.tiles.count, 6)
            verify(find(grid, "customGradient"))
            compare(find(grid, "customColorA").label, "Top")
            compare(find(grid, "customColorB").label, "Bottom")
            mouseClick(find(grid, "chip:Spotlight"))
            compare(Editor.customBackdropShape, "Spotlight")
            compare(find(grid, "customColorA").label, "Center")
            compare(find(grid, "customColorB").label, "Edge")
            mouseClick(find(grid, "chip:Bokeh"))
            compare(grid.gridState.tiles.count, 4)
            verify(!find(grid, "customGradient"))
        }

        function test_theRingFollowsTheBackgroundPicture() {
            const grid = createTemporaryObject(gridComponent, root)
            Driver.openPicture(120, 80)
            const white = find(grid, "backdrop:studio-white")
            verify(white)
            mouseClick(white)
            compare(Editor.backdropID, "studio-white")
            Driver.settle()
            verify(Editor.backgroundImage !== undefined)
            tryCompare(white, "ringed", true)
            compare(find(white, "caption").color, Qt.color("#F6F2FF"))
            verify(!find(grid, "backdrop:studio-warm").ringed)
            // The custom gradient rings no tile.
            mouseClick(find(grid, "chip:Gradient"))
            mouseClick(find(grid, "applyCustomGradient"))
            Driver.settle()
            compare(Editor.backdropID, "custom")
            for (const id of ["gradient-sunset", "gradient-ocean"]) {
                const tile = find(grid, "backdrop:" + id)
                if (tile)
                    verify(!tile.ringed)
            }
        }

        function test_scrollingThroughTheTilesRendersEachOnce() {
            const categories = ["Studio", "Table", "Gradient", "Bokeh", "Texture"]
            let ids = []
            for (let round = 0; round < 3; ++round) {
                const grid = createTemporaryObject(gridComponent, root)
                for (const category of categories) {
                    mouseClick(find(grid, "chip:" + category))
                    waitForRendering(grid)
                    const tiles = find(grid, "tileView").contentItem
                    for (let i = 0; i < tiles.children.length; ++i) {
                        const tile = tiles.children[i]
                        if (tile.objectName.startsWith("backdrop:")) {
                            tryCompare(tile, "hasPicture", true, Driver.patience)
                            if (round === 0)
                                ids.push(tile.objectName.substring(9))
                        }
                    }
                }
                grid.destroy()
            }
            compare(ids.length, 26)
            for (const id of ids)
                compare(BackdropDriver.backdropRenders(id), 1, id)
        }
    }
}
