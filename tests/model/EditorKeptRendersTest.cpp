// Undo and redo show kept results: what they show must be what rendering the
// restored inputs would make, also after a branch of history replaced the
// steps a kept result was made from; and what is kept stays within its bound.

#include "EditorFixture.h"

#include "model/editor/KeptResults.h"
#include "support/PixelChecks.h"

namespace zephrin::testing {

namespace {

MaskEditOp eraseAt(double x)
{
    return MaskStroke{true, BrushTip::round, 12, 1, {{x, 20}, {x + 20, 40}}};
}

} // namespace

class EditorKeptRenders : public EditorTest {
protected:
    EditorKeptRenders() { openDocument(); }

    // The cutout the engines make for the editor's inputs now.
    Image freshCutout() const
    {
        const Image& source = editor->document()->image.image();
        const std::vector<MaskEditOp> ops(editor->maskOps().begin(),
                                          editor->maskOps().begin() + editor->activeOpCount());
        const auto layers = ops.empty() ? std::nullopt
                                        : engines->EditorEngines::maskEditLayers(ops, source.width(),
                                                                                 source.height(), std::nullopt);
        return engines->EditorEngines::refine(source, *editor->matte(), editor->matteSettings(), layers);
    }

    void expectCutoutIsFresh()
    {
        runner->settle();
        ASSERT_TRUE(editor->cutout());
        EXPECT_EQ(maxDifference(editor->cutout()->image().pixels, freshCutout().pixels), 0);
    }
};

TEST_F(EditorKeptRenders, UndoRedoAndABranchShowWhatTheirInputsMake)
{
    const auto plain = editor->cutout()->generation();
    editor->appendMaskOp(eraseAt(10));
    runner->settle();
    const auto erased = editor->cutout()->generation();
    editor->setFeather(5);
    editor->commitHistory();
    runner->settle();

    const int refines = engines->calls("refine");
    editor->undo();
    runner->settle();
    EXPECT_EQ(editor->cutout()->generation(), erased);
    EXPECT_EQ(engines->calls("refine"), refines);
    // Two steps back is no longer kept (two results a step): made again.
    editor->undo();
    runner->settle();
    EXPECT_NE(editor->cutout()->generation(), plain);
    expectCutoutIsFresh();
    editor->redo();
    runner->settle();
    EXPECT_EQ(editor->cutout()->generation(), erased);
    EXPECT_EQ(engines->calls("refine"), refines + 1);
    EXPECT_EQ(engines->calls("maskEditLayers"), 1);
    expectCutoutIsFresh();

    // A branch: the same count of mask edits, another edit.
    editor->undo();
    editor->appendMaskOp(eraseAt(70));
    runner->settle();
    EXPECT_NE(editor->cutout()->generation(), erased);
    expectCutoutIsFresh();

    // The composite and the text draw come back with the cutout.
    editor->setComp(QStringLiteral("backgroundMode"), QStringLiteral("Color"));
    editor->commitHistory();
    runner->settle();
    const auto coloured = editor->composite()->generation();
    editor->addTextLayer();
    runner->settle();
    const auto withText = editor->composite()->generation();
    const int composites = engines->calls("composite");
    const int texts = engines->calls("drawTextLayers");
    editor->undo();
    runner->settle();
    EXPECT_EQ(editor->composite()->generation(), coloured);
    editor->redo();
    runner->settle();
    EXPECT_EQ(editor->composite()->generation(), withText);
    EXPECT_EQ(engines->calls("composite"), composites);
    EXPECT_EQ(engines->calls("drawTextLayers"), texts);
}

TEST_F(EditorKeptRenders, ANewPictureKeepsNothingOfTheLast)
{
    EXPECT_GT(editor->keptRenders().count(), 0);
    const int refines = engines->calls("refine");
    openDocument(QStringLiteral("other.png"));
    EXPECT_EQ(engines->calls("refine"), refines + 1);
    EXPECT_EQ(editor->keptRenders().refine.count(), 1);
}

TEST(KeptResults, KeepsTheMostRecentlyUsedWithinTwoFullSizeResults)
{
    KeptResults<int, char> kept(2);
    kept.setUnit(40);
    kept.keep(1, 'a', 40);
    kept.keep(2, 'b', 40);
    EXPECT_EQ(kept.find(1), 'a');   // 1 is now the most recent
    kept.keep(3, 'c', 40);          // over the budget: 2 goes
    EXPECT_EQ(kept.find(2), std::nullopt);
    EXPECT_EQ(kept.find(1), 'a');
    EXPECT_EQ(kept.bytes(), 80u);
    kept.keep(1, 'd', 10);          // replaces
    EXPECT_EQ(kept.find(1), 'd');
    EXPECT_EQ(kept.count(), 2);

    // A result larger than the picture (a canvas with margins) is kept, and
    // two of its size fit.
    kept.keep(4, 'e', 60);
    kept.keep(5, 'f', 60);
    EXPECT_EQ(kept.find(4), 'e');
    EXPECT_EQ(kept.find(5), 'f');
    EXPECT_EQ(kept.bytes(), 120u);
    // A smaller picture lets the oldest go at once.
    kept.setUnit(10);
    EXPECT_EQ(kept.count(), 2);
    kept.keep(6, 'g', 10);
    EXPECT_EQ(kept.count(), 1);
    EXPECT_EQ(kept.find(6), 'g');
}

} // namespace zephrin::testing
