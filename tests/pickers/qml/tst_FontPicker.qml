// The font picker over the application's font library, whose catalogue here
// is the copy in the data folder (the server is unreachable): the chips, the
// chip it opens on, the search and its counts, the favourites, previews that
// read on the dark panel, and chips reached with a vertical wheel.
import QtQuick
import QtTest
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Pickers
import Zephrin.TestSupport

PickerHarness {
    id: test
    name: "FontPicker"

    Component { id: pickerComponent; FontPicker {} }
    // On the panel colour of the popup that hosts it.
    Component {
        id: onPanelComponent
        Rectangle {
            property alias picker: inner
            width: 360
            height: 520
            color: Theme.panel
            FontPicker { id: inner; anchors.fill: parent }
        }
    }

    function catalogue() {
        const font = (id, name, category) => ({ id: id, name: name, category: category,
                                                 files: { regular: id + "/" + id + ".otf" } })
        return JSON.stringify({
            categories: ["Sans Serif", "Serif", "Display"],
            items: [font("inter", "Inter", "Sans Serif"), font("lora", "Lora", "Serif"),
                    font("interTight", "Inter Tight", "Sans Serif"), font("bungee", "Bungee", "Display")]
        })
    }

    function initTestCase() {
        verify(Driver.writeDataFile("Zephrin/Fonts/fonts.json", catalogue()))
        // Bungee has no preview anywhere (the server is unreachable).
        for (const [id, name] of [["inter", "Inter"], ["lora", "Lora"], ["interTight", "Inter Tight"]])
            verify(Driver.writeFontPreview("Zephrin/Fonts/previews/" + id + ".png", name))
    }

    function open(props) {
        const picker = createTemporaryObject(pickerComponent, test, props || {})
        verify(picker)
        picker.shown = true
        tryCompare(picker.model, "emptyState", "", Driver.patience)
        waitForRendering(picker)
        return picker
    }

    function row(picker, id) {
        tryVerify(() => find(picker, "fontRow:" + id) !== null, Driver.patience)
        return find(picker, "fontRow:" + id)
    }

    function rowIDs(picker) {
        return picker.model.rows.map(r => r.id)
    }

    function test_chipsAndCounts() {
        const picker = open()
        compare(picker.model.chips, ["Favorites", "Recent", "All", "Sans Serif", "Serif", "Display"])
        compare(item(picker, "fontChip:Favorites").title, "★ Favorites")
        compare(item(picker, "fontSearch").placeholderText, "Search 4 fonts")
        compare(item(picker, "fontFooter").text, "4 fonts · open-licensed (OFL / Apache)")
        mouseClick(item(picker, "fontChip:Serif"))
        compare(rowIDs(picker), ["lora"])
        compare(item(picker, "fontFooter").text, "1 font · open-licensed (OFL / Apache)")
        mouseClick(item(picker, "fontChip:Recent"))
        compare(rowIDs(picker), [])
        compare(item(picker, "fontFooter").text, "0 fonts · open-licensed (OFL / Apache)")
    }

    function test_searchTrimsAndIgnoresCase() {
        const picker = open()
        const search = item(picker, "fontSearch")
        search.forceActiveFocus()
        for (const c of " INTER ")
            keyClick(c)
        compare(rowIDs(picker), ["inter", "interTight"])
        compare(search.placeholderText, "Search 4 fonts")
        compare(item(picker, "fontFooter").text, "2 fonts · open-licensed (OFL / Apache)")
        search.selectAll()
        for (const c of "serif")
            keyClick(c)
        compare(rowIDs(picker), [])   // categories are not searched
    }

    // The catalogue's previews are dark ink: on the panel they show light.
    function test_previewsAreLegibleOnThePanel() {
        const host = createTemporaryObject(onPanelComponent, test)
        host.picker.shown = true
        tryCompare(host.picker.model, "emptyState", "", Driver.patience)
        const preview = item(row(host.picker, "lora"), "fontPreview")
        tryCompare(preview, "status", Image.Ready, Driver.patience)
        waitForRendering(host)
        const shot = grabImage(host)
        const origin = preview.mapToItem(host, 0, 0)
        let lightest = 0
        for (let y = 0; y < preview.height; ++y) {
            for (let x = 0; x < Math.min(preview.width, 120); ++x)
                lightest = Math.max(lightest, shot.pixel(origin.x + x, origin.y + y).hslLightness)
        }
        verify(lightest > 0.85, "the lightest preview pixel: " + lightest)

        // Without a preview the row shows the font's name.
        const bungee = row(host.picker, "bungee")
        tryCompare(item(bungee, "fontPreview"), "status", Image.Error, Driver.patience)
        verify(item(bungee, "fontName").visible)
        verify(!item(bungee, "fontPreview").visible)
    }

    // More chips than the width: a vertical wheel over the row brings the
    // last one into view.
    function test_aVerticalWheelScrollsTheChips() {
        const picker = open()
        picker.width = 200
        waitForRendering(picker)
        const chips = item(picker, "fontChips")
        verify(chips.contentWidth > chips.width)
        compare(chips.contentX, 0)
        for (let i = 0; i < 10; ++i)
            mouseWheel(chips, chips.width / 2, chips.height / 2, 0, -120)
        compare(chips.contentX, chips.contentWidth - chips.width)
        mouseClick(item(picker, "fontChip:Display"))
        compare(picker.model.chip, "Display")
        mouseWheel(chips, chips.width / 2, chips.height / 2, 0, 120)
        verify(chips.contentX < chips.contentWidth - chips.width)
    }

    function test_opensOnFavoritesWithoutACurrentFont() {
        let picker = open()
        compare(picker.model.chip, "All")
        mouseClick(item(row(picker, "lora"), "fontHeart"))
        verify(picker.model.isFavorite("lora"))

        picker = open()
        compare(picker.model.chip, "Favorites")
        compare(rowIDs(picker), ["lora"])

        picker = open({ currentID: "inter" })
        compare(picker.model.chip, "All")
        verify(row(picker, "inter").selected)

        // Unmarking the last favourite empties the chip at once.
        picker = open()
        mouseClick(item(row(picker, "lora"), "fontHeart"))
        compare(rowIDs(picker), [])
        compare(item(picker, "fontFooter").text, "Tap the heart on any font to add it here.")
    }
}
