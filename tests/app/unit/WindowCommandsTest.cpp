// The window's command rules and what its commands do to a real editor.

#include "app/shell/CommandRules.h"
#include "app/shell/WindowCommands.h"
#include "app/shell/WindowFit.h"
#include "app/shell/ZoomSteps.h"
#include "model/editor/EditorState.h"

#include "EditorFixture.h"

#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zephrin {
namespace {

TEST(WindowFit, TheFirstSizeFitsTheWorkAreaButNotBelowTheMinimum)
{
    const QSize preferred(1280, 820);
    const QSize minimum(1180, 630);
    // A large screen: as preferred.
    EXPECT_EQ(fittedWindowSize(preferred, minimum, {1920, 1050}), preferred);
    // 1366 × 768 with a 32-point panel: as tall as the work area allows.
    EXPECT_EQ(fittedWindowSize(preferred, minimum, {1366, 736}), QSize(1280, 736 - kTitleBarAllowance));
    // Smaller than the minimum: the minimum.
    EXPECT_EQ(fittedWindowSize(preferred, minimum, {1024, 600}), minimum);
    // No work area known: as preferred.
    EXPECT_EQ(fittedWindowSize(preferred, minimum, {}), preferred);
}

TEST(ZoomSteps, StepToTheNextLevelInEitherDirection)
{
    using namespace zoomsteps;
    EXPECT_EQ(stepUp(1.0), 1.5);
    EXPECT_EQ(stepDown(1.0), 0.75);
    EXPECT_EQ(stepUp(0.3), 0.5);       // a pinch zoom between two steps
    EXPECT_EQ(stepUp(1.3), 1.5);
    EXPECT_EQ(stepDown(1.3), 1.0);
    EXPECT_EQ(stepUp(1.00005), 1.5);   // within the tolerance of 1
    EXPECT_EQ(stepDown(1.00005), 0.75);
    EXPECT_EQ(stepUp(0.2), 0.25);
    EXPECT_EQ(stepDown(8.0), 4.0);
}

TEST(ZoomSteps, StopAtTheEnds)
{
    using namespace zoomsteps;
    EXPECT_EQ(stepUp(4.0), std::nullopt);
    EXPECT_EQ(stepUp(3.99995), std::nullopt);
    EXPECT_EQ(stepUp(6.0), std::nullopt);
    EXPECT_EQ(stepDown(0.25), std::nullopt);
    EXPECT_EQ(stepDown(0.2), std::nullopt);
    // Walking all the way up and down visits every level once.
    std::vector<double> visited{1.0};
    for (auto z = stepUp(1.0); z; z = stepUp(*z))
        visited.push_back(*z);
    EXPECT_EQ(visited, (std::vector<double>{1.0, 1.5, 2.0, 3.0, 4.0}));
}

TEST(CommandRules, WithoutADocumentOnlyImportAndViewCommandsWork)
{
    const CommandStates states = commandStates(EditorFacts{});
    EXPECT_FALSE(states.canExport);
    EXPECT_FALSE(states.canClear);
    EXPECT_FALSE(states.canCopyResult);
    EXPECT_FALSE(states.canRunCutout);
    EXPECT_FALSE(states.canReset);
    EXPECT_FALSE(states.canUndo);
    EXPECT_FALSE(states.canRedo);
    EXPECT_FALSE(states.canCompare);
    EXPECT_FALSE(states.exportButtonEnabled);
}

TEST(CommandRules, FollowTheDocumentTheCutoutAndTheWork)
{
    EditorFacts facts;
    facts.hasDocument = true;
    CommandStates states = commandStates(facts);
    EXPECT_TRUE(states.canClear);
    EXPECT_TRUE(states.canRunCutout);
    EXPECT_FALSE(states.canExport || states.canCopyResult || states.canReset || states.canCompare);

    facts.isProcessing = true;
    EXPECT_FALSE(commandStates(facts).canRunCutout);
    EXPECT_TRUE(commandStates(facts).canClear);

    facts.isProcessing = false;
    facts.hasCutout = true;
    states = commandStates(facts);
    EXPECT_TRUE(states.canExport && states.canCopyResult && states.canCompare && states.exportButtonEnabled);
    EXPECT_FALSE(states.canReset);  // the composite settings are still the plain cutout's
    facts.compIsDefault = false;
    EXPECT_TRUE(commandStates(facts).canReset);

    facts.hasUndo = true;
    EXPECT_TRUE(commandStates(facts).canUndo);
    EXPECT_FALSE(commandStates(facts).canRedo);
}

// Batch mode shows no canvas: nothing in the View menu applies.
TEST(CommandRules, BatchModeTakesTheViewCommandsAway)
{
    EditorFacts facts;
    facts.hasDocument = facts.hasCutout = true;
    EXPECT_TRUE(commandStates(facts).canZoom && commandStates(facts).canCompare);
    facts.batchMode = true;
    EXPECT_FALSE(commandStates(facts).canZoom || commandStates(facts).canCompare);
    EXPECT_TRUE(commandStates(facts).canExport) << "the document's own commands stay";
}

TEST(CommandRules, TheSheetToolExportsTheFinishedSheet)
{
    EditorFacts facts;
    facts.hasDocument = facts.hasCutout = true;
    facts.sheetMode = true;
    EXPECT_FALSE(commandStates(facts).exportButtonEnabled);
    facts.hasSheetRender = true;
    EXPECT_TRUE(commandStates(facts).exportButtonEnabled);
    facts.isProcessing = true;
    EXPECT_FALSE(commandStates(facts).exportButtonEnabled);
    // The menu's Export… still follows the cutout.
    EXPECT_TRUE(commandStates(facts).canExport);
}

class WindowCommandsTest : public ::testing::Test {
protected:
    QTemporaryDir m_folder;
    EditorState m_editor{services()};
    WindowCommands m_commands{m_editor};

    EditorServices services() const
    {
        EditorServices services;
        services.settingsFile = m_folder.filePath(QStringLiteral("settings.ini"));
        services.shareFolder = m_folder.filePath(QStringLiteral("share"));
        return services;
    }
};

TEST_F(WindowCommandsTest, ImportingAlwaysTargetsTheDocument)
{
    m_editor.setImportTarget(ImportTarget::background);
    m_commands.importDocument();
    EXPECT_EQ(m_editor.importTarget(), ImportTarget::document);
    EXPECT_TRUE(m_editor.showImporter());
}

TEST_F(WindowCommandsTest, ClosingTheImporterWithoutAFileResetsTheTarget)
{
    // The backdrop picker opened the importer for a background; the user
    // cancelled. A later drop must not become a backdrop.
    m_editor.setImportTarget(ImportTarget::background);
    m_editor.setShowImporter(true);
    m_commands.importerClosed(QUrl());
    EXPECT_EQ(m_editor.importTarget(), ImportTarget::document);
    EXPECT_FALSE(m_editor.showImporter());
}

TEST_F(WindowCommandsTest, ExportingInAFormatOpensTheSheetEvenForTheCurrentFormat)
{
    m_commands.exportAs(QStringLiteral("WebP"));
    EXPECT_EQ(m_editor.exportFormat(), ExportFormat::webp);
    EXPECT_TRUE(m_editor.showExportSheet());
    m_editor.setShowExportSheet(false);
    m_commands.exportAs(QStringLiteral("WebP"));
    EXPECT_TRUE(m_editor.showExportSheet());
}

TEST_F(WindowCommandsTest, SidebarRowsSwitchToolAndBatchMode)
{
    QSignalSpy tool(&m_editor, &EditorState::toolChanged);
    QSignalSpy batch(&m_editor, &EditorState::batchModeChanged);
    m_commands.selectTool(QStringLiteral("cutout"));  // already the tool
    EXPECT_EQ(tool.count(), 0);
    EXPECT_EQ(batch.count(), 0);

    m_commands.enterBatchMode();
    m_commands.enterBatchMode();
    EXPECT_TRUE(m_editor.batchMode());
    EXPECT_EQ(batch.count(), 1);
    EXPECT_EQ(m_editor.tool(), EditorTool::cutout);

    // Leaving batch mode through the row of the current tool.
    m_commands.selectTool(QStringLiteral("cutout"));
    EXPECT_FALSE(m_editor.batchMode());
    EXPECT_EQ(tool.count(), 0);

    m_commands.selectTool(QStringLiteral("effects"));
    EXPECT_EQ(m_editor.tool(), EditorTool::effects);
    m_commands.selectTool(QStringLiteral("no such tool"));
    EXPECT_EQ(m_editor.tool(), EditorTool::effects);
}

TEST_F(WindowCommandsTest, ZoomCommandsStepTheEditorsZoom)
{
    QSignalSpy zoom(&m_editor, &EditorState::zoomChanged);
    m_commands.zoomIn();
    EXPECT_EQ(m_editor.zoom(), 1.5);
    m_editor.setZoom(4.0);
    zoom.clear();
    m_commands.zoomIn();
    EXPECT_EQ(zoom.count(), 0);
    m_commands.zoomOut();
    EXPECT_EQ(m_editor.zoom(), 3.0);
}

TEST_F(WindowCommandsTest, WithoutADocumentTheStatusSaysSo)
{
    EXPECT_EQ(m_commands.documentName(), QStringLiteral("No image"));
    EXPECT_EQ(m_commands.documentSizeText(), QStringLiteral("—"));
    EXPECT_EQ(m_commands.fileSizeText(), QStringLiteral("—"));
    EXPECT_TRUE(m_commands.compositeSizeText().isEmpty());
    EXPECT_TRUE(m_commands.displayImage().isNull());
    EXPECT_EQ(m_commands.compareTitle(), QStringLiteral("Show Compare"));
    m_editor.setCompareEnabled(true);
    EXPECT_EQ(m_commands.compareTitle(), QStringLiteral("Hide Compare"));
}

TEST_F(WindowCommandsTest, DisabledCommandsDoNothing)
{
    // Reached through a key while the menu item is disabled.
    QSignalSpy compare(&m_editor, &EditorState::compareEnabledChanged);
    QSignalSpy comp(&m_editor, &EditorState::compChanged);
    m_commands.toggleCompare();
    m_commands.resetToPlainCutout();
    EXPECT_EQ(compare.count(), 0);
    EXPECT_EQ(comp.count(), 0);
}

TEST_F(WindowCommandsTest, ToolTableFollowsTheToolOrder)
{
    const QVariantList tools = m_commands.tools();
    ASSERT_EQ(tools.size(), 7);
    EXPECT_EQ(tools.front().toMap().value(QStringLiteral("tool")), QStringLiteral("cutout"));
    EXPECT_EQ(tools.front().toMap().value(QStringLiteral("label")), QStringLiteral("Cutout"));
    EXPECT_EQ(tools.back().toMap().value(QStringLiteral("tool")), QStringLiteral("sheet"));
    EXPECT_EQ(m_commands.toolInfo(QStringLiteral("resize")).value(QStringLiteral("symbol")),
              QStringLiteral("arrow.up.left.and.arrow.down.right"));
}

// Without a file manager, the notice names the shared or saved file in full
// and offers its path, until the user is done with it.
class NoFileManagerTest : public testing::EditorTest {
protected:
    NoFileManagerTest()
    {
        FileReveal nothing;
        nothing.showItems = [](const QStringList&, FileReveal::Done done) { done(false); };
        nothing.openUrl = [](const QUrl&, FileReveal::Done done) { done(false); };
        m_commands.setFileReveal(nothing);
    }

    WindowCommands m_commands{*editor};
};

TEST_F(NoFileManagerTest, TheNoticeNamesTheFileAndOffersItsPath)
{
    openDocument();
    m_commands.share();
    runner->runAll();
    runner->advance(std::chrono::milliseconds(350));
    const QString shared = editor->shareURL().toLocalFile();
    ASSERT_TRUE(QFileInfo(shared).isAbsolute());
    EXPECT_EQ(editor->notice(), QStringLiteral("Ready to share ") + shared);
    EXPECT_EQ(editor->noticeCopyPath(), shared);
    EXPECT_FALSE(editor->noticeIsFailure());  // the file is ready all the same
    EXPECT_TRUE(editor->noticeRevealPath().isEmpty());  // nothing could show it
    EXPECT_TRUE(editor->lastError().isEmpty());
    // It stays up while the path may be wanted.
    runner->advance(EditorState::noticeDuration * 3);
    EXPECT_EQ(editor->noticeCopyPath(), shared);

    editor->copyNoticePath();
    ASSERT_TRUE(clipboard->last);
    EXPECT_EQ(clipboard->last->text(), shared);
    EXPECT_EQ(editor->notice(), QStringLiteral("Copied the path"));
    EXPECT_TRUE(editor->noticeCopyPath().isEmpty());
    runner->advance(EditorState::noticeDuration);
    EXPECT_TRUE(editor->notice().isEmpty());

    // "Show in Folder" of a saved file that nothing can show does the same.
    const QString saved = dir.filePath(QStringLiteral("saved.png"));
    editor->showNotice(QStringLiteral("Saved saved.png to ~"), saved);
    m_commands.showNoticeInFolder();
    EXPECT_EQ(editor->notice(), QStringLiteral("No file manager is available to show ") + saved);
    EXPECT_EQ(editor->noticeCopyPath(), saved);
    EXPECT_TRUE(editor->noticeIsFailure());
    editor->dismissNotice();
    EXPECT_TRUE(editor->notice().isEmpty());
    EXPECT_TRUE(editor->noticeCopyPath().isEmpty());
}

} // namespace
} // namespace zephrin
