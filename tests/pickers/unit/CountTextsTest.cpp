// Every count the pickers show agrees with its number: one takes the
// singular, none and many the plural.

#include "pickers/BatchViewRules.h"
#include "pickers/SheetPanelTexts.h"
#include "pickers/backdrops/BackdropTexts.h"
#include "pickers/fonts/FontFilter.h"

#include <gtest/gtest.h>

#include <functional>

namespace zephrin {
namespace {

using backdroptexts::DeleteScope;

TEST(CountTexts, AgreeWithTheirNumber)
{
    struct Case {
        const char* name;
        std::function<QString(int)> text;
        const char* none;
        const char* one;
        const char* two;
    };
    const auto question = [](DeleteScope scope, bool trash) {
        return [=](int n) { return backdroptexts::deleteQuestion(scope, n, 0, trash).title; };
    };
    const Case cases[] = {
        {"photo count", [](int n) { return backdroptexts::photoCountLine(n).section(u'.', 0, 0); },
         "0 backgrounds", "1 background", "2 backgrounds"},
        {"library line", [](int n) { return backdroptexts::libraryLine(n, 0); },
         "0 backgrounds · Zero KB", "1 background · Zero KB", "2 backgrounds · Zero KB"},
        {"move all", [](int n) { return backdroptexts::deleteAllTitle(n); },
         "Move all 0 backgrounds to the Trash?", "Move 1 background to the Trash?", "Move all 2 backgrounds to the Trash?"},
        {"delete all", question(DeleteScope::all, false),
         "Delete all 0 backgrounds permanently?", "Delete 1 background permanently?",
         "Delete all 2 backgrounds permanently?"},
        {"move checked", question(DeleteScope::selection, true),
         "Move 0 backgrounds to the Trash?", "Move 1 background to the Trash?", "Move 2 backgrounds to the Trash?"},
        {"hidden", [](int n) { return backdroptexts::deleteQuestion(DeleteScope::selection, 3, n, true).message; },
         "", "1 of them is hidden by the current filter.", "2 of them are hidden by the current filter."},
        {"font search", [](int n) { return fontfilter::searchPrompt(n); }, "Search 0 fonts", "Search 1 font", "Search 2 fonts"},
        {"font footer", [](int n) { return fontfilter::footer(fontfilter::kAll, n).section(u' ', 0, 1); },
         "0 fonts", "1 font", "2 fonts"},
        {"batch failures", [](int n) { return batchview::failureNote(n).section(u' ', 0, 1); },
         "0 images", "1 image", "2 images"},
        {"batch folder", [](int n) { return batchview::folderMessage(n); },
         "Choose a folder for the 0 cutouts.", "Choose a folder for the 1 cutout.", "Choose a folder for the 2 cutouts."},
        {"stickers", [](int n) { return sheetpanel::packingStatus(n, n); },
         "0 stickers placed", "1 sticker placed", "2 stickers placed"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.text(0), QString::fromUtf8(c.none)) << c.name;
        EXPECT_EQ(c.text(1), QString::fromUtf8(c.one)) << c.name;
        EXPECT_EQ(c.text(2), QString::fromUtf8(c.two)) << c.name;
    }
}

} // namespace
} // namespace zephrin
