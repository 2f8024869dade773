import QtQuick
import QtTest
import Zephrin.App
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Shell
import Zephrin.TestSupport

TestCase {
    id: harness
    name: "CanvasView"
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
        window.requestActivate()
        tryVerify(() => window.active)
        return window
    }

    // Items and popups by objectName, through the visual tree and every
    // object's data.
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

    function item(window, name) {
        const found = find(window.contentItem, name) || find(window, name)
        verify(found, "no item named " + name)
        return found
    }

    function cleanup() {
        Incoming.cancelReplace()
        Editor.batch.clear()
        Editor.batchMode = false
        Editor.clearDocument()
        Driver.settle()
        Editor.zoom = 1
        Editor.panOffset = Qt.size(0, 0)
        Editor.compareEnabled = false
        Editor.canvasTool = "View"
        Editor.tool = "cutout"
    }

    // A drag out of this window, let go over its own canvas, is not imported:
    // the document and its work stay. The same file dragged in from another
    // application opens.
    function test_aDragOutOfThisWindowIsNeverTakenBackIn() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        const before = Commands.documentName
        const canvas = item(window, "canvasSlot")
        const file = Driver.writePicture("picture-cutout.png", 60, 40)
        Driver.dropFiles(canvas, 300, 300, [file], true)
        Driver.settle()
        compare(Commands.documentName, before)
        verify(!Editor.showIncomingReplaceConfirm)

        Driver.dropFiles(canvas, 300, 300, [file], false)
        Driver.settle()
        compare(Commands.documentName, "picture-cutout.png")
    }

    // A drop over work asks first and says what goes; "Keep Working" keeps
    // the document and the dropped file. Several files join the batch.
    function test_aDropOverWorkAsksAndSeveralFilesJoinTheBatch() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        const before = Commands.documentName
        Editor.addTextLayer()
        Driver.settle()
        const canvas = item(window, "canvasSlot")
        const file = Driver.writePicture("dropped.png", 60, 40)
        Driver.dropFiles(canvas, 300, 300, [file], false)
        const question = item(window, "replaceQuestion")
        tryCompare(question, "opened", true)
        compare(item(question, "questionDetail").text,
                "Opening “dropped.png” discards the undo history. The text layer carries over.")
        mouseClick(item(question, "keepWorking"))
        tryCompare(question, "visible", false)
        Driver.settle()
        compare(Commands.documentName, before)
        verify(Driver.fileSize(file) > 0)

        Driver.dropFiles(canvas, 300, 300, [file, Driver.writePicture("second.png", 60, 40)], false)
        Driver.settle()
        verify(Editor.batchMode)
        compare(Editor.batch.total, 2)
        compare(Commands.documentName, before)
    }

    // While the modal export sheet (or a question) stands over the canvas, a
    // file dropped on it opens nothing: the document behind stays.
    function test_aDropBehindTheExportSheetIsRefused() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        const before = Commands.documentName
        const canvas = item(window, "canvasSlot")
        const sheet = item(window, "exportSheet")
        const file = Driver.writePicture("behind-the-sheet.png", 60, 40)
        Editor.showExportSheet = true
        tryCompare(sheet, "opened", true)
        Driver.dropFiles(canvas, 40, 40, [file], false)
        Driver.settle()
        compare(Commands.documentName, before)
        verify(Editor.showExportSheet)

        Editor.showExportSheet = false
        tryCompare(sheet, "visible", false)
        Driver.dropFiles(canvas, 40, 40, [file], false)
        Driver.settle()
        compare(Commands.documentName, "behind-the-sheet.png")
    }

    function test_theEmptyStateGivesWayToTheImage() {
        const window = openWindow()
        verify(item(window, "emptyState").visible)
        verify(!item(window, "mainCanvas").visible)
        Driver.openPicture(120, 80)
        verify(!item(window, "emptyState").visible)
        verify(item(window, "mainCanvas").visible)
        verify(item(window, "canvasSurface").filtering)
        verify(!item(window, "canvasOverlay").visible)  // the view tool draws no marks

        const picture = item(window, "canvasImage")
        const width = picture.width
        mouseClick(item(window, "canvasZoomIn"))
        compare(Editor.zoom, 1.5)
        fuzzyCompare(picture.width, width * 1.5, 0.5)
        mouseClick(item(window, "canvasZoomOut"))
        mouseClick(item(window, "canvasZoomOut"))
        compare(Editor.zoom, 0.75)
        mouseClick(item(window, "canvasOneToOne"))
        compare(Editor.zoom, 1)
    }

    function test_aDragWithTheSelectToolMakesASelection() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        Editor.canvasTool = "Select"
        const picture = item(window, "canvasImage")
        verify(item(window, "canvasOverlay").visible)
        const surface = item(window, "canvasSurface")
        const from = picture.mapToItem(surface, picture.width * 0.25, picture.height * 0.25)
        const to = picture.mapToItem(surface, picture.width * 0.75, picture.height * 0.75)
        mousePress(surface, from.x, from.y)
        mouseMove(surface, (from.x + to.x) / 2, (from.y + to.y) / 2)
        mouseMove(surface, to.x, to.y)
        mouseRelease(surface, to.x, to.y)
        verify(Editor.pendingSelection !== undefined)
        const points = Editor.pendingSelection
        fuzzyCompare(points[0].x, 30, 0.5)
        fuzzyCompare(points[1].y, 60, 0.5)
        // Escape on the window drops it.
        keyClick(Qt.Key_Escape)
        verify(Editor.pendingSelection === undefined)
    }

    function test_compareShowsEachDocumentPixelAtOnePlaceOnBothSides_data() {
        return [
            { tag: "crop", settings: { crop: Qt.rect(20, 10, 70, 50) } },
            { tag: "trim and padding", settings: { trimToContent: true, padding: 20 } },
            { tag: "aspect and mirror", settings: { aspect: "1:1", mirror: true } },
        ]
    }

    function test_compareShowsEachDocumentPixelAtOnePlaceOnBothSides(data) {
        const window = openWindow()
        Driver.openPicture(120, 80)
        for (const field in data.settings)
            Editor.setComp(field, data.settings[field])
        Driver.settle()
        Editor.zoom = 1.5
        Editor.panOffset = Qt.size(30, -20)  // the compare view leaves the pan out
        Editor.compareEnabled = true
        const view = item(window, "compareView")
        const original = item(window, "compareOriginalImage")
        const result = item(window, "compareResultImage")
        const frame = Editor.compositeFrame
        const shown = item(window, "canvasSurface").imageSize
        // The corners of the red block and a point inside it.
        for (const q of [Qt.point(30, 20), Qt.point(90, 60), Qt.point(50, 35)]) {
            const onOriginal = original.mapToItem(view, q.x * original.width / 120, q.y * original.height / 80)
            let x = (q.x - frame.x) * frame.scale
            if (frame.mirror)
                x = frame.width - x
            const y = (q.y - frame.y) * frame.scale
            const onResult = result.mapToItem(view, x * result.width / shown.width, y * result.height / shown.height)
            fuzzyCompare(onOriginal.x, onResult.x, 0.01)
            fuzzyCompare(onOriginal.y, onResult.y, 0.01)
        }
    }

    // The canvas's frame is rounded, and so is what fills it: neither the
    // checkerboard nor the compare view's backdrop shows past the corners.
    function test_nothingShowsPastTheRoundedCorners() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        const canvas = item(window, "canvasSlot")
        const filled = [Theme.checkerLight, Theme.checkerDark, Theme.imageWell].map(c => String(c))
        // A pixel of the canvas, from a grab of the whole window.
        const pixel = (image, x, y) => {
            const p = canvas.mapToItem(window.contentItem, x, y)
            return String(image.pixel(p.x, p.y))
        }
        const w = canvas.width
        const h = canvas.height
        const corners = (image) => [pixel(image, 1, 1), pixel(image, w - 2, 1), pixel(image, 1, h - 2),
                                    pixel(image, w - 2, h - 2)]
        waitForRendering(window.contentItem)
        let image = grabImage(window.contentItem)
        verify(filled.includes(pixel(image, 16, 16)), "the checkerboard inside the corners")
        for (const seen of corners(image))
            verify(!filled.includes(seen), seen)

        Editor.comparePosition = 0.5
        Editor.compareEnabled = true
        waitForRendering(window.contentItem)
        image = grabImage(window.contentItem)
        compare(pixel(image, 16, h / 2), String(Theme.imageWell))
        for (const seen of corners(image))
            verify(!filled.includes(seen), seen)

        // A picture zoomed past the frame is rounded by it too.
        Editor.compareEnabled = false
        Editor.zoom = 20
        waitForRendering(window.contentItem)
        image = grabImage(window.contentItem)
        const inside = pixel(image, w / 2, h / 2)
        verify(!filled.includes(inside), "the picture fills the canvas")
        for (const seen of corners(image))
            verify(seen !== inside, seen)
        // What covers a corner is what lies beside the canvas: the window's
        // backdrop with its glow, no darker notch.
        const near = (a, b) => {
            const [p, q] = [Qt.color(a), Qt.color(b)]
            return Math.max(Math.abs(p.r - q.r), Math.abs(p.g - q.g), Math.abs(p.b - q.b)) <= 3 / 255
        }
        for (const [x, y, beside] of [[1, 1, -3], [w - 2, 1, w + 2]])
            verify(near(pixel(image, x, y), pixel(image, beside, y)), pixel(image, x, y) + " " + pixel(image, beside, y))
    }

    function test_theDragOutHintOpensWhereThePointerRests() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        const area = item(window, "dragOutHintArea")
        const hint = area.hint
        mouseMove(area, area.width * 0.7, area.height * 0.8)
        verify(!hint.visible)
        tryVerify(() => hint.visible, Driver.patience)
        // Beside the pointer, not at the canvas's edge.
        fuzzyCompare(hint.x, area.width * 0.7, 24)
        fuzzyCompare(hint.y, area.height * 0.8, 24)
        // Moving off closes it; resting again opens it there.
        mouseMove(area, area.width * 0.2, area.height * 0.3)
        verify(!hint.visible)
        tryVerify(() => hint.visible, Driver.patience)
        fuzzyCompare(hint.y, area.height * 0.3, 24)
        // Another tool has no drag-out, so no hint.
        Editor.canvasTool = "Erase"
        verify(!hint.visible)
    }

    // The hint promises a drag only where a press starts one: not with the
    // text tool, whose presses select and move layers. And once the pointer
    // has left the window the hint goes, and does not come back there.
    function test_theDragOutHintOnlyWhereADragStarts() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        const area = item(window, "dragOutHintArea")
        const hint = area.hint
        Editor.tool = "text"
        verify(!area.visible)
        mouseMove(area, area.width * 0.5, area.height * 0.5)
        wait(1200)
        verify(!hint.visible)

        Editor.tool = "cutout"
        mouseMove(area, area.width * 0.6, area.height * 0.5)
        tryVerify(() => hint.visible, Driver.patience)
        Driver.leaveWindow(window)
        verify(!hint.visible)
        // Left before the hint's delay ran out: it never opens.
        mouseMove(area, area.width * 0.4, area.height * 0.5)
        Driver.leaveWindow(window)
        wait(1200)
        verify(!hint.visible)

        // Under the export sheet the pointer rests on the sheet, not on the
        // image: no hint, neither then nor once the sheet has gone.
        const sheet = item(window, "exportSheet")
        Editor.showExportSheet = true
        tryCompare(sheet, "opened", true)
        mouseMove(area, 4, area.height * 0.5)
        mouseMove(area, 6, area.height * 0.5)
        wait(1200)
        verify(!hint.visible)
        Editor.showExportSheet = false
        tryCompare(sheet, "visible", false)
        wait(1200)
        verify(!hint.visible)
        mouseMove(area, 10, area.height * 0.5)
        tryVerify(() => hint.visible, Driver.patience)

        // Zoomed in, the picture reaches past the canvas under the toolbar
        // and the panels: resting there is no rest on the picture.
        Editor.zoom = 4
        const canvas = item(window, "mainCanvas")
        for (const [x, y] of [[canvas.width / 2, -20], [canvas.width + 30, canvas.height / 2]]) {
            const at = canvas.mapToItem(window.contentItem, x, y)
            verify(area.contains(area.mapFromItem(window.contentItem, at.x, at.y)), "the picture reaches there")
            mouseMove(window.contentItem, at.x, at.y)
            wait(1200)
            verify(!hint.visible)
        }
    }

    // A sheet opened from the keyboard while the hint shows stands over the
    // image: the hint goes with no move of the pointer, and stays away while
    // the sheet is open (Export writes what the sheet says; the drag a PNG).
    function test_theDragOutHintGivesWayToASheetOpenedFromTheKeyboard() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        const area = item(window, "dragOutHintArea")
        const hint = area.hint
        const sheet = item(window, "exportSheet")
        Editor.exportFormat = "WebP"
        mouseMove(area, area.width * 0.5, area.height * 0.5)
        tryVerify(() => hint.visible, Driver.patience)
        verify(hint.text.endsWith("a PNG"), hint.text)
        keyClick(Qt.Key_E, Qt.ControlModifier)
        tryCompare(sheet, "opened", true)
        tryVerify(() => !hint.visible, Driver.patience)
        wait(1200)
        verify(!hint.visible)
        Editor.showExportSheet = false
        tryCompare(sheet, "visible", false)
        Editor.exportFormat = "PNG"
    }

    function test_theSheetCanvasSaysHowToFillAnEmptySheet() {
        const window = openWindow()
        Editor.tool = "sheet"
        const empty = item(window, "sheetEmptyState")
        verify(empty.visible)
        verify(!item(window, "sheetPaper").visible)
        compare(item(window, "sheetEmptyHint").text, "Import an image and make a cutout, then add it to the sheet.")
        Driver.openPicture(120, 80)
        Editor.tool = "sheet"
        compare(item(window, "sheetEmptyHint").text, "Click “Add Current Cutout” in the panel to place this design.")
        Editor.addToStickerSheet()
        Driver.settle()
        verify(!empty.visible)
        verify(item(window, "sheetPaper").visible)
        Editor.clearStickerSheet()
        Driver.settle()
        verify(empty.visible)
    }

    function test_compareReplacesTheCanvasAndItsKeys() {
        const window = openWindow()
        Driver.openPicture(120, 80)
        Editor.compareEnabled = true
        verify(item(window, "compareView").visible)
        verify(!item(window, "mainCanvas").visible)
        verify(!item(window, "canvasSurface").filtering)
        const knob = item(window, "compareKnob")
        const view = item(window, "compareView")
        mouseDrag(knob, knob.width / 2, knob.height / 2, -view.width, 0)
        compare(Editor.comparePosition, 0.02)

        Editor.tool = "sheet"
        verify(!item(window, "compareView").visible)
        verify(item(window, "stickerSheetCanvas").visible)
        Editor.tool = "text"
        Editor.compareEnabled = false
        verify(item(window, "textHandles").visible)
        verify(item(window, "canvasSurface").filtering)
    }
}
