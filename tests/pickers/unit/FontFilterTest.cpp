// What the font picker lists: chips, favourites, recents, categories, search,
// its texts, the chip it opens on and what replaces an empty catalogue.

#include "pickers/fonts/FontFilter.h"

#include <gtest/gtest.h>

namespace zephrin::fontfilter {
namespace {

QStringList ids(const QList<FontItem>& fonts)
{
    QStringList list;
    for (const FontItem& font : fonts)
        list << font.id;
    return list;
}

const QList<FontItem> kCatalogue{
    {"inter", "Inter", "Sans Serif", {{"regular", "inter.otf"}}},
    {"lora", "Lora", "Serif", {{"regular", "lora.otf"}}},
    {"pacifico", "Pacifico", "Handwriting", {{"regular", "pacifico.otf"}}},
    {"interTight", "Inter Tight", "Sans Serif", {{"regular", "tight.otf"}}},
};

TEST(FontFilter, ChipsStartWithTheFixedThree)
{
    EXPECT_EQ(chipTitles({"Serif", "Sans Serif"}), QStringList({"Favorites", "Recent", "All", "Serif", "Sans Serif"}));
    EXPECT_EQ(chipLabel("Favorites"), "★ Favorites");
    EXPECT_EQ(chipLabel("Serif"), "Serif");
}

TEST(FontFilter, EachChipListsItsFontsInItsOrder)
{
    const QSet<QString> favorites{"pacifico", "inter"};
    const QStringList recents{"lora", "gone", "inter"};
    EXPECT_EQ(ids(shown(kCatalogue, favorites, recents, kAll, "")), ids(kCatalogue));
    // Favourites in catalogue order, recents newest first without missing ids.
    EXPECT_EQ(ids(shown(kCatalogue, favorites, recents, kFavorites, "")), QStringList({"inter", "pacifico"}));
    EXPECT_EQ(ids(shown(kCatalogue, favorites, recents, kRecent, "")), QStringList({"lora", "inter"}));
    EXPECT_EQ(ids(shown(kCatalogue, favorites, recents, "Sans Serif", "")), QStringList({"inter", "interTight"}));
    EXPECT_TRUE(shown(kCatalogue, favorites, recents, "sans serif", "").isEmpty());   // case counts
    EXPECT_TRUE(shown(kCatalogue, {}, {}, kRecent, "").isEmpty());
}

TEST(FontFilter, SearchTrimsIgnoresCaseAndMatchesNamesOnly)
{
    EXPECT_EQ(ids(shown(kCatalogue, {}, {}, kAll, " \tINTER  ")), QStringList({"inter", "interTight"}));
    EXPECT_EQ(ids(shown(kCatalogue, {}, {}, kAll, "tig")), QStringList({"interTight"}));
    EXPECT_TRUE(shown(kCatalogue, {}, {}, kAll, "serif").isEmpty());      // a category is not searched
    EXPECT_TRUE(shown(kCatalogue, {}, {}, kAll, "pacifico ").size() == 1);
    EXPECT_EQ(ids(shown(kCatalogue, {}, {}, kAll, "   ")), ids(kCatalogue));
    // Search narrows the chip's list.
    EXPECT_TRUE(shown(kCatalogue, {"lora"}, {}, kFavorites, "inter").isEmpty());
}

TEST(FontFilter, PromptCountsTheCatalogueAndFooterTheList)
{
    EXPECT_EQ(searchPrompt(4), "Search 4 fonts");
    EXPECT_EQ(footer(kAll, 1), "1 font · open-licensed (OFL / Apache)");
    EXPECT_EQ(footer(kRecent, 0), "0 fonts · open-licensed (OFL / Apache)");
    EXPECT_EQ(footer(kFavorites, 0), "Tap the heart on any font to add it here.");
    EXPECT_EQ(footer(kFavorites, 2), "2 fonts · open-licensed (OFL / Apache)");
}

TEST(FontFilter, OpensOnFavoritesOnlyWithoutACurrentFont)
{
    EXPECT_EQ(openingChip(kAll, true, false), kFavorites);
    EXPECT_EQ(openingChip(kAll, true, true), kAll);
    EXPECT_EQ(openingChip(kAll, false, false), kAll);
    EXPECT_EQ(openingChip("Serif", false, false), "Serif");
}

TEST(FontFilter, AnEmptyCatalogueSaysWhy)
{
    using S = FontLibrary::Status;
    EXPECT_EQ(emptyState(S::ready, false), Empty::none);
    EXPECT_EQ(emptyState(S::failed, false), Empty::none);   // a cached catalogue still shows
    EXPECT_EQ(emptyState(S::idle, true), Empty::loading);
    EXPECT_EQ(emptyState(S::loading, true), Empty::loading);
    EXPECT_EQ(emptyState(S::failed, true), Empty::failed);
    EXPECT_EQ(emptyState(S::ready, true), Empty::noFonts);
    EXPECT_EQ(emptyText(Empty::noFonts, "failed"), "No fonts available.");
    EXPECT_EQ(emptyText(Empty::failed, "failed"), "failed");
    EXPECT_EQ(emptyText(Empty::loading, "failed"), "Loading fonts…");
}

} // namespace
} // namespace zephrin::fontfilter
