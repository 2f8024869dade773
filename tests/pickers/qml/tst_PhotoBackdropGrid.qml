import QtQuick
import QtTest
import Zephrin.Model
import Zephrin.Pickers
import Zephrin.TestSupport

// The photo grid over libraries on loopback servers: loading, failing,
// empty, and the tiles with their thumbnails and ring.
Item {
    id: root
    width: 300
    height: 800

    Component {
        id: gridComponent
        PhotoBackdropGrid { width: 280 }
    }

    // The grid in a scrolling view, as in the inspector.
    Component {
        id: scrolledComponent
        Flickable {
            id: view
            property alias library: grid.library
            width: 300
            height: 300
            contentHeight: grid.height
            PhotoBackdropGrid { id: grid; width: 280 }
        }
    }

    TestCase {
        name: "PhotoBackdropGrid"
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

        function test_loadingThenTilesWithThumbnails() {
            const library = BackdropDriver.newPhotoLibrary([
                { id: "lake", category: "Nature", location: "misty_lake" },
                { id: "desk", category: "Office", location: "old_brick_WALL" }
            ], ["Nature", "Office"])
            const grid = createTemporaryObject(gridComponent, root, { library: library })
            // At once: the single chip "All", on, above the loading row.
            verify(find(grid, "chip:All").on)
            verify(find(grid, "photoLoading").visible)
            tryCompare(grid.gridState, "content", "grid", Driver.patience)
            verify(!find(grid, "photoLoading").visible)
            verify(find(grid, "chip:Office"))
            const desk = find(grid, "photo:desk")
            compare(desk.help, "Old Brick Wall")
            tryCompare(desk, "hasPicture", true, Driver.patience)
            compare(find(grid, "photoCount").text.indexOf("2 backgrounds."), 0)
            mouseClick(find(grid, "chip:Office"))
            tryCompare(find(grid, "photoCount"), "text",
                       "1 background. Each downloads the first time you use it. Right-click to keep one in My Backgrounds.")
        }

        // Every photo tile that exists, seen or not.
        function madeTiles(item, made) {
            made = made || []
            if (item.objectName.startsWith("photo:"))
                made.push(item)
            for (let i = 0; i < item.children.length; ++i)
                madeTiles(item.children[i], made)
            return made
        }

        // Tiles, and so their thumbnail requests and spinners, are made as
        // they come into view; a thumbnail that fails stops its spinner.
        function test_tilesAreMadeAsTheyComeIntoView() {
            let photos = []
            for (let i = 0; i < 60; ++i)
                photos.push({ id: "p" + i, category: "Any", location: "place_" + i, thumb: i !== 1 })
            const library = BackdropDriver.newPhotoLibrary(photos, ["Any"])
            const view = createTemporaryObject(scrolledComponent, root, { library: library })
            tryCompare(find(view, "photoGrid").gridState, "content", "grid", Driver.patience)
            waitForRendering(view)
            const first = madeTiles(view).length
            verify(first > 0)
            verify(first < 30, first + " tiles made for a view of four rows")
            verify(find(view, "photo:p0") !== null)
            verify(find(view, "photo:p59") === null)

            // The missing thumbnail: no endless spinner, a mark instead.
            const broken = find(view, "photo:p1")
            tryCompare(find(broken, "tileFailed"), "visible", true, Driver.patience)
            verify(!find(broken, "tileSpinner").visible)
            tryCompare(find(view, "photo:p0"), "hasPicture", true, Driver.patience)
            verify(!find(find(view, "photo:p0"), "tileFailed").visible)

            view.contentY = view.contentHeight - view.height
            waitForRendering(view)
            tryVerify(() => find(view, "photo:p59") !== null)
            verify(madeTiles(view).length < 30)
        }

        function test_aFailedLoadOffersTryAgain() {
            const library = BackdropDriver.newPhotoLibrary([], [], false)
            const grid = createTemporaryObject(gridComponent, root, { library: library })
            tryCompare(grid.gridState, "content", "failed", Driver.patience)
            verify(find(grid, "photoRetry").visible)
            compare(find(grid, "photoMessage").text,
                    "Couldn't reach the photo library. Check your internet connection.")
            mouseClick(find(grid, "photoRetry"))
            compare(grid.gridState.content, "loading")
            tryCompare(grid.gridState, "content", "failed", Driver.patience)
        }

        function test_anEmptyCatalogueSaysSo() {
            const library = BackdropDriver.newPhotoLibrary([], [])
            const grid = createTemporaryObject(gridComponent, root, { library: library })
            tryCompare(grid.gridState, "content", "empty", Driver.patience)
            compare(find(grid, "photoMessage").text, "No photos available.")
            verify(find(grid, "photoRetry").visible)
            verify(!find(grid, "photoLoading").visible)
        }
    }
}
