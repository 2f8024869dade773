// The resize tool's operations on the editor: listing presets with their live
// checklist, crop editing, and whether the panel's next gradient replaces.

#include "EditorFixture.h"

namespace zephrin::testing {

class EditorResize : public EditorTest {
protected:
    EditorResize() { openDocument(); }

    std::vector<bool> oks()
    {
        std::vector<bool> result;
        for (const ComplianceItem& item : editor->complianceItems())
            result.push_back(item.ok);
        return result;
    }
};

TEST_F(EditorResize, APresetSetsFramingAndExportAndIsRemembered)
{
    editor->setComp(QStringLiteral("shadowEnabled"), true);
    editor->applyListingPreset(QStringLiteral("HTV / iron-on (SVG, mirrored)"));
    EXPECT_EQ(editor->activePreset(), ListingPreset::htv);
    EXPECT_EQ(editor->exportFormat(), ExportFormat::svg);
    EXPECT_EQ(editor->exportLongEdge(), 2048);
    EXPECT_EQ(editor->svgColors(), 1);
    EXPECT_FALSE(editor->svgFileMaker());
    EXPECT_TRUE(editor->comp().mirror);
    EXPECT_TRUE(editor->comp().trimToContent);
    EXPECT_TRUE(editor->comp().shadowEnabled);  // not the preset's business
    runner->settle();
    EXPECT_EQ(oks(), (std::vector<bool>{true, true, true}));

    // Later changes are judged against the preset, and the list says so.
    QSignalSpy changed(editor.get(), &EditorState::complianceItemsChanged);
    editor->setSvgColors(5);
    EXPECT_GE(changed.count(), 1);
    EXPECT_EQ(oks(), (std::vector<bool>{true, true, false}));
    EXPECT_EQ(editor->activePreset(), ListingPreset::htv);

    // An unknown title changes nothing.
    editor->applyListingPreset(QStringLiteral("Billboard"));
    EXPECT_EQ(editor->activePreset(), ListingPreset::htv);
}

// A preset with its framing and its export is one step, and so is "Reset to
// plain cutout": undo brings back the preset before, with its checklist, and
// the export before; redo the preset's again.
TEST_F(EditorResize, PresetsAndTheirResetAreStepsWithTheirExport)
{
    editor->applyListingPreset(ListingPreset::etsy);
    editor->setSvgColors(6);
    const int steps = editor->undoCount();
    editor->applyListingPreset(ListingPreset::htv);
    EXPECT_EQ(editor->undoCount(), steps + 1);
    editor->resetToPlainCutout();
    EXPECT_FALSE(editor->activePreset());
    runner->settle();
    EXPECT_TRUE(editor->complianceItems().empty());

    editor->undo();  // the reset
    EXPECT_EQ(editor->activePreset(), ListingPreset::htv);
    EXPECT_TRUE(editor->comp().mirror);
    runner->settle();
    EXPECT_EQ(editor->complianceItems().size(), 3u);
    editor->undo();  // the iron-on preset
    EXPECT_EQ(editor->activePreset(), ListingPreset::etsy);
    EXPECT_EQ(editor->exportFormat(), ExportFormat::png);
    EXPECT_EQ(editor->exportLongEdge(), 2700);
    EXPECT_EQ(editor->svgColors(), 6);
    EXPECT_FALSE(editor->comp().mirror);
    editor->redo();
    EXPECT_EQ(editor->activePreset(), ListingPreset::htv);
    EXPECT_EQ(editor->exportFormat(), ExportFormat::svg);
    EXPECT_EQ(editor->exportLongEdge(), 2048);
    EXPECT_EQ(editor->svgColors(), 1);

    // A preset whose framing is in force already is a step for its export alone.
    editor->undo();
    editor->setExportLongEdge(1000);
    editor->applyListingPreset(ListingPreset::etsy);
    EXPECT_EQ(editor->exportLongEdge(), 2700);
    editor->undo();
    EXPECT_EQ(editor->exportLongEdge(), 1000);
    EXPECT_EQ(editor->activePreset(), ListingPreset::etsy);
}

// "Reset to plain cutout" takes the presets' export away with them: the
// format, size and SVG choices before the first preset of a row come back,
// in the reset's one step, which undo takes back whole.
TEST_F(EditorResize, ResetPutsBackTheExportThePresetsFound)
{
    editor->setExportFormat(ExportFormat::webp);
    editor->setExportLongEdge(1500);
    editor->setSvgColors(6);
    editor->setSvgFileMaker(true);
    const auto exportIs = [&](ExportFormat format, int longEdge, int colors, bool fileMaker) {
        EXPECT_EQ(editor->exportFormat(), format);
        EXPECT_EQ(editor->exportLongEdge(), longEdge);
        EXPECT_EQ(editor->svgColors(), colors);
        EXPECT_EQ(editor->svgFileMaker(), fileMaker);
    };

    editor->applyListingPreset(ListingPreset::amazon);
    editor->applyListingPreset(ListingPreset::htv);
    exportIs(ExportFormat::svg, 2048, 1, false);
    const int steps = editor->undoCount();
    editor->resetToPlainCutout();
    EXPECT_EQ(editor->undoCount(), steps + 1);
    EXPECT_FALSE(editor->activePreset());
    exportIs(ExportFormat::webp, 1500, 6, true);

    editor->undo();
    EXPECT_EQ(editor->activePreset(), ListingPreset::htv);
    exportIs(ExportFormat::svg, 2048, 1, false);
    editor->redo();
    exportIs(ExportFormat::webp, 1500, 6, true);

    // Without a preset a reset leaves the export alone.
    editor->setExportFormat(ExportFormat::jpg);
    editor->setComp(QStringLiteral("shadowEnabled"), true);
    editor->resetToPlainCutout();
    EXPECT_EQ(editor->exportFormat(), ExportFormat::jpg);
}

TEST_F(EditorResize, EqualExportValuesAreNotWrittenAgain)
{
    editor->applyListingPreset(ListingPreset::amazon);
    EXPECT_EQ(editor->exportFormat(), ExportFormat::jpg);
    EXPECT_EQ(editor->comp().backgroundMode, BackgroundMode::color);
    EXPECT_EQ(emissions(*editor, &EditorState::exportFormatChanged, [&] { editor->applyListingPreset(ListingPreset::amazon); }), 0);
    EXPECT_EQ(emissions(*editor, &EditorState::exportLongEdgeChanged, [&] { editor->applyListingPreset(ListingPreset::amazon); }), 0);
}

TEST_F(EditorResize, TheChecklistNeedsAPresetAndAComposite)
{
    runner->settle();
    ASSERT_TRUE(editor->composite());
    EXPECT_TRUE(editor->complianceItems().empty());
    editor->applyListingPreset(ListingPreset::sticker);
    runner->settle();
    EXPECT_EQ(editor->complianceItems().size(), 4u);
    // The composite's measures feed the amazon fill row.
    editor->applyListingPreset(ListingPreset::amazon);
    runner->settle();
    ASSERT_TRUE(editor->subjectFillFraction());
    EXPECT_GT(*editor->subjectFillFraction(), 0.5);

    editor->clearDocument();
    EXPECT_FALSE(editor->activePreset());
    EXPECT_TRUE(editor->complianceItems().empty());
}

TEST_F(EditorResize, CropEditingStartsFromTheCropInDocumentPixels)
{
    editor->setTool(EditorTool::effects);
    editor->beginCropEditing();
    EXPECT_EQ(editor->tool(), EditorTool::resize);
    EXPECT_EQ(editor->canvasTool(), CanvasTool::crop);
    EXPECT_FALSE(editor->cropDraft());

    editor->setCropDraft(QRectF(10.4, 10.6, 20.2, 20.2));
    editor->applyCrop();
    EXPECT_EQ(editor->comp().crop, QRectF(10, 10, 21, 21));
    EXPECT_EQ(editor->canvasTool(), CanvasTool::view);

    editor->beginCropEditing();
    EXPECT_EQ(editor->cropDraft(), QRectF(10, 10, 21, 21));
    editor->cancelCropEditing();
    EXPECT_FALSE(editor->cropDraft());
    EXPECT_EQ(editor->canvasTool(), CanvasTool::view);
    EXPECT_EQ(editor->comp().crop, QRectF(10, 10, 21, 21));

    // A crop that reaches past this picture (kept from a larger one) is edited
    // as the part that lies on it.
    editor->setComp(QStringLiteral("crop"), QRectF(100, 60, 200, 200));
    editor->beginCropEditing();
    EXPECT_EQ(editor->cropDraft(), QRectF(100, 60, 20, 20));
}

TEST_F(EditorResize, TheNextGradientReplacesOnlyTheNewestGradientInForce)
{
    QSignalSpy changed(editor.get(), &EditorState::willReplaceGradientChanged);
    EXPECT_FALSE(editor->willReplaceGradient());
    editor->applyPanelGradient();
    EXPECT_TRUE(editor->willReplaceGradient());
    EXPECT_EQ(changed.count(), 1);

    // A stroke on top: the gradient is no longer the newest operation.
    editor->setCanvasTool(CanvasTool::paint);
    editor->commitPaintStroke(EditorState::Points{{10, 10}, {20, 20}});
    EXPECT_FALSE(editor->willReplaceGradient());
    editor->applyPanelGradient();
    EXPECT_EQ(editor->paintOps().size(), 3u);
    EXPECT_TRUE(editor->willReplaceGradient());

    // Undone, it is not in force; a flat fill is never replaced.
    editor->undo();
    EXPECT_FALSE(editor->willReplaceGradient());
    editor->redo();
    EXPECT_TRUE(editor->willReplaceGradient());
    editor->fillSelectionWithPaintColor();
    EXPECT_FALSE(editor->willReplaceGradient());

    editor->applyGradient({0, 0}, {40, 0});
    EXPECT_TRUE(editor->willReplaceGradient());
    editor->clearPaint();
    EXPECT_FALSE(editor->willReplaceGradient());
}

} // namespace zephrin::testing
