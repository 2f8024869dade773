// The font picker over the application's font library, whose catalogue here
// is the copy in the data folder (the server is unreachable): the chips, the
// chip it opens on, the search and its counts, and the favourites.
import QtQuick
import QtTest
import Zephrin.Model
import Zephrin.Pickers
import Zephrin.TestSupport

PickerHarness {
    id: test
    name: "FontPicker"

    Component { id: pickerComponent; FontPicker {} }

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
    }

    function open(props) {
        const picker = createTemporaryObject(pickerComponent, test, props || {})
        verify(picker)
        picker.shown = true
        tryCompare(picker.model, "emptyState", "")
        waitForRendering(picker)
        return picker
    }

    function row(picker, id) {
        tryVerify(() => find(picker, "fontRow:" + id) !== null)
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
        compare(item(picker, "fontFooter").text, "1 fonts · open-licensed (OFL / Apache)")
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
