// The font picker over a font library served from the loopback interface:
// what it lists, and what a click on a font does to the text layers — one
// write of name, label and id, for the layer selected at the click, and only
// for the newest click.

#include "EditorFixture.h"

#include "content/fonts/FontLibrary.h"
#include "content/net/ContentSource.h"
#include "content/support/StaticHttpServer.h"
#include "content/support/Waiting.h"
#include "engine/text/FontFixtures.h"
#include "pickers/FontPickerModel.h"
#include "support/GuiApplication.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace std::chrono_literals;

namespace zephrin::testing {
namespace {

void writeServed(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QJsonObject font(const QString& id, const QString& name, const QString& regular)
{
    QJsonObject files;
    if (!regular.isEmpty())
        files.insert("regular", regular);
    return {{"id", id}, {"name", name}, {"category", "Sans Serif"}, {"files", files}};
}

class FontPickerModelTest : public EditorTest {
protected:
    void SetUp() override
    {
        ensureGuiApplication();
        ASSERT_TRUE(m_served.isValid() && m_cache.isValid());
        m_server = std::make_unique<StaticHttpServer>(m_served.path());
    }

    QString served(const QString& relative) const { return m_served.filePath("zephrin/fonts/" + relative); }

    // Serves a catalogue of these items and loads it through a picker.
    void load(const QJsonArray& items)
    {
        writeServed(served("fonts.json"),
                    QJsonDocument(QJsonObject{{"categories", QJsonArray{"Sans Serif"}}, {"items", items}}).toJson());
        m_library = std::make_unique<FontLibrary>(contentResourceBase(m_server->address(), "zephrin/fonts"),
                                                  m_cache.filePath("Fonts"),
                                                  std::make_unique<QSettings>(m_cache.filePath("fonts.ini"),
                                                                              QSettings::IniFormat));
        picker = std::make_unique<FontPickerModel>(*m_library);
        picker->setEditor(editor.get());
        picker->appear();
        ASSERT_TRUE(waitUntil([&] { return m_library->status() != FontLibrary::Status::loading; }));
    }

    const TextLayer& only() const { return editor->comp().texts.front(); }

    QTemporaryDir m_served;
    QTemporaryDir m_cache;
    std::unique_ptr<StaticHttpServer> m_server;
    std::unique_ptr<FontLibrary> m_library;
    std::unique_ptr<FontPickerModel> picker;
};

TEST_F(FontPickerModelTest, AReadyCatalogueWithoutFontsSaysSo)
{
    load({});
    EXPECT_EQ(m_library->status(), FontLibrary::Status::ready);
    EXPECT_EQ(picker->emptyState(), "noFonts");
    EXPECT_EQ(picker->emptyText(), "No fonts available.");
    EXPECT_EQ(picker->searchPrompt(), "Search 0 fonts");
}

TEST_F(FontPickerModelTest, APickWritesNameLabelAndIdInOneChange)
{
    const RenamedFont face = writeRenamedFont(served("sunny/Sunny.otf"));
    load({font("sunny", "Sunny Sans", "sunny/Sunny.otf")});
    EXPECT_EQ(picker->rows().size(), 1);
    EXPECT_EQ(picker->footer(), "1 font · open-licensed (OFL / Apache)");

    editor->addTextLayer();
    QSignalSpy writes(editor.get(), &EditorState::compChanged);
    QSignalSpy picked(picker.get(), &FontPickerModel::picked);
    picker->pick("sunny");
    ASSERT_TRUE(waitUntil([&] { return picked.count() == 1; }));
    EXPECT_EQ(writes.count(), 1);
    EXPECT_EQ(only().fontName, face.postScriptName);
    EXPECT_EQ(only().fontLabel, "Sunny Sans");
    EXPECT_EQ(only().fontID, std::optional<QString>("sunny"));
    EXPECT_EQ(m_library->recents().value(0), "sunny");
    EXPECT_EQ(picker->failed(), "");
}

TEST_F(FontPickerModelTest, OnlyTheNewestClickIsAppliedToTheLayerSelectedAtTheClick)
{
    const RenamedFont quick = writeRenamedFont(served("quick/Quick.otf"));
    load({font("slow", "Slow Serif", "slow/Slow.otf"), font("quick", "Quick Sans", "quick/Quick.otf")});
    // The first font trickles in for a while (and turns out broken); the second arrives at once.
    m_server->drip("/zephrin/fonts/slow/Slow.otf", QByteArray(300, 'x'), 1ms);

    editor->addTextLayer();
    const QUuid first = editor->selectedTextID();
    QSignalSpy picked(picker.get(), &FontPickerModel::picked);
    picker->pick("slow");
    picker->pick("quick");
    ASSERT_TRUE(waitUntil([&] { return picked.count() == 1; }));
    ASSERT_TRUE(m_library->downloading().contains("slow"));
    // Another layer is selected before the slow download ends.
    editor->addTextLayer();
    ASSERT_TRUE(waitUntil([&] { return m_library->downloading().isEmpty(); }));
    QCoreApplication::processEvents();

    // The late answer of the older click changes nothing and reports nothing.
    EXPECT_EQ(picked.count(), 1);
    EXPECT_EQ(picker->failed(), "");
    const TextLayer& target = editor->comp().texts.front();
    EXPECT_EQ(target.id, first);
    EXPECT_EQ(target.fontName, quick.postScriptName);
    EXPECT_EQ(target.fontID, std::optional<QString>("quick"));
    EXPECT_EQ(editor->comp().texts.back().fontID, std::nullopt);
    EXPECT_EQ(m_library->recents(), QStringList({"quick"}));
}

TEST_F(FontPickerModelTest, ALayerDeletedDuringTheDownloadIsNotRecreated)
{
    writeRenamedFont(served("sunny/Sunny.otf"));
    load({font("sunny", "Sunny Sans", "sunny/Sunny.otf")});
    editor->addTextLayer();
    QSignalSpy picked(picker.get(), &FontPickerModel::picked);
    picker->pick("sunny");
    editor->deleteTextLayer(editor->selectedTextID());
    runner->advance(100ms);
    ASSERT_TRUE(editor->comp().texts.isEmpty());
    ASSERT_TRUE(waitUntil([&] { return picked.count() == 1; }));
    EXPECT_TRUE(editor->comp().texts.isEmpty());
    // The font is still recorded as used.
    EXPECT_EQ(m_library->recents().value(0), "sunny");
}

TEST_F(FontPickerModelTest, AFailedDownloadSaysWhichFontAndChangesNothing)
{
    load({font("broken", "Broken Sans", "broken/missing.otf"), font("noregular", "No Regular", "")});
    editor->addTextLayer();
    const TextLayer before = only();
    picker->pick("broken");
    ASSERT_TRUE(waitUntil([&] { return !picker->failed().isEmpty(); }));
    EXPECT_EQ(picker->failed(), "Couldn't download Broken Sans.");
    EXPECT_EQ(only(), before);
    EXPECT_TRUE(m_library->recents().isEmpty());

    picker->pick("noregular");
    ASSERT_TRUE(waitUntil([&] { return picker->failed() == "Couldn't download No Regular."; }));
}

TEST_F(FontPickerModelTest, FavouritesAndTheOpeningChip)
{
    writeRenamedFont(served("sunny/Sunny.otf"));
    load({font("sunny", "Sunny Sans", "sunny/Sunny.otf"), font("other", "Other", "other.otf")});
    EXPECT_EQ(picker->chip(), "All");
    EXPECT_EQ(picker->chips().mid(0, 3), QStringList({"Favorites", "Recent", "All"}));
    picker->toggleFavorite("sunny");
    EXPECT_TRUE(picker->isFavorite("sunny"));

    // With a favourite and no font in use a picker opens on Favorites; with a font it stays.
    picker->appear();
    EXPECT_EQ(picker->chip(), "Favorites");
    EXPECT_EQ(picker->rows().size(), 1);
    FontPickerModel withFont(*m_library);
    withFont.setCurrentID("other");
    withFont.appear();
    EXPECT_EQ(withFont.chip(), "All");
    EXPECT_TRUE(withFont.isSelected("other"));

    // Unmarking the last favourite empties the chip at once.
    picker->toggleFavorite("sunny");
    EXPECT_TRUE(picker->rows().isEmpty());
    EXPECT_EQ(picker->footer(), "Tap the heart on any font to add it here.");
}

} // namespace
} // namespace zephrin::testing
