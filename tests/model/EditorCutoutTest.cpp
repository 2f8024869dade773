// Making the subject matte: the selection cut's box and its fallbacks, the
// messages of a run that finds nothing or falls back to the scene, the
// fill-holes probe, and the busy labels of the roads.

#include "EditorFixture.h"

#include "engine/types/MatteError.h"

namespace zephrin::testing {

using EditorCutout = EditorTest;

TEST_F(EditorCutout, TheSelectionCutRunsInTheWholePixelBoxOfTheSelection)
{
    struct Case {
        const char* name;
        std::optional<EditorState::Points> selection;
        std::optional<QRectF> region;   // none: Auto Subject over the whole image
    };
    const Case cases[] = {
        {"fractions widen to whole pixels", EditorState::Points{{10.4, 20.6}, {50.2, 60.1}}, QRectF(10, 20, 41, 41)},
        {"a box just over 2 px wide", EditorState::Points{{10.9, 10}, {13.1, 50}}, QRectF(10, 10, 4, 40)},
        {"no selection", std::nullopt, std::nullopt},
        {"one point", EditorState::Points{{30, 30}}, std::nullopt},
        {"2 px wide", EditorState::Points{{10, 10}, {12, 50}}, std::nullopt},
        {"2 px high", EditorState::Points{{10, 10}, {60, 12}}, std::nullopt},
    };
    openDocument();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        editor->setPendingKind(SelectionKind::rectangle);
        editor->setPendingSelection(c.selection);
        const int before = engines->calls("computeMatte");
        editor->cutSelection();
        EXPECT_EQ(editor->processingLabel(),
                  c.region ? QStringLiteral("Cutting selection…") : QStringLiteral("Finding subject…"));
        runner->settle();
        EXPECT_EQ(engines->calls("computeMatte"), before + 1);
        EXPECT_EQ(engines->lastRegion, c.region);
        // A cut in the box uses the selection up; the fallback leaves it.
        EXPECT_EQ(editor->pendingSelection().has_value(), c.selection && !c.region);
    }
}

TEST_F(EditorCutout, FindingNothingInTheBoxAsksForALooserOne)
{
    openDocument();
    const auto matte = editor->matte();
    const auto cutout = editor->cutout();
    ASSERT_TRUE(matte && cutout);
    engines->failing.insert("computeMatte");

    editor->runAutoSubject();
    runner->settle();
    EXPECT_EQ(editor->lastError(), QString::fromUtf8(sentence(MatteErrorKind::noSubjectFound)));

    editor->setPendingSelection(EditorState::Points{{10, 10}, {60, 50}});
    editor->cutSelection();
    runner->settle();
    EXPECT_EQ(editor->lastError(), QStringLiteral("Nothing found in that area. Try a looser box."));
    EXPECT_FALSE(editor->isProcessing());
    // The last good result stays.
    EXPECT_EQ(editor->cutout()->generation(), cutout->generation());
}

TEST_F(EditorCutout, TheSceneFallbackIsExplainedAndProbesNoHoles)
{
    const QString note = QStringLiteral("No single subject found — kept the scene and removed flat background "
                                        "areas. Use Flat Color or Select to refine.");
    engines->sceneFallback = true;
    engines->holes = true;
    openDocument();
    EXPECT_EQ(editor->cutoutNote(), note);
    EXPECT_EQ(engines->calls("hasFillableHoles"), 0);
    EXPECT_FALSE(editor->suggestFillHoles());
    ASSERT_TRUE(editor->cutout());

    // The selection cut never shows the note, and probes.
    editor->setPendingSelection(EditorState::Points{{10, 10}, {60, 50}});
    editor->cutSelection();
    EXPECT_TRUE(editor->cutoutNote().isEmpty());
    runner->settle();
    EXPECT_TRUE(editor->cutoutNote().isEmpty());
    EXPECT_EQ(engines->calls("hasFillableHoles"), 1);
    EXPECT_TRUE(editor->suggestFillHoles());
}

TEST_F(EditorCutout, TheFillHolesProbeFollowsAutoSubjectButNotFlatColor)
{
    engines->holes = true;
    openDocument();
    EXPECT_EQ(engines->calls("hasFillableHoles"), 1);
    EXPECT_TRUE(editor->suggestFillHoles());

    editor->runFlatColor(nullptr);
    EXPECT_FALSE(editor->suggestFillHoles());
    runner->settle();
    EXPECT_FALSE(editor->suggestFillHoles());
    EXPECT_EQ(engines->calls("hasFillableHoles"), 1);

    engines->holes = false;
    editor->runAutoSubject();
    runner->settle();
    EXPECT_EQ(engines->calls("hasFillableHoles"), 2);
    EXPECT_FALSE(editor->suggestFillHoles());
}

// The close-gaps setting is a count of passes: halves round away from zero.
TEST_F(EditorCutout, FlatKeyingClosesGapsInWholePasses)
{
    openDocument();
    editor->setCutoutMethod(CutoutMethod::flat);
    for (const auto& [setting, passes] : {std::pair{2.5, 3}, {2.4, 2}, {0.5, 1}, {19.5, 20}}) {
        editor->setFlatCloseGaps(setting);
        editor->runFlatColor(nullptr);
        runner->settle();
        EXPECT_EQ(engines->lastCloseGaps, passes) << setting;
    }
}

// "Line art" samples the background just inside the corners: 2 px in on a
// picture under 100 px on its short side, a fiftieth of that side on larger ones.
TEST_F(EditorCutout, LineArtSamplesTheBackgroundJustInsideTheCorners)
{
    struct Case {
        int width, height;
        std::vector<QPointF> points;
    };
    const Case cases[] = {
        {60, 40, {{2, 2}, {57, 2}, {2, 37}, {57, 37}}},
        {1000, 800, {{16, 16}, {983, 16}, {16, 783}, {983, 783}}},
    };
    settings().setValue(QStringLiteral("autoSubjectOnImport"), false);
    settings().sync();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        openDocument(QStringLiteral("drawing.png"), c.width, c.height);
        engines->sampledPoints.clear();
        editor->applyLineArtPreset();
        EXPECT_EQ(engines->sampledPoints, c.points);
        runner->settle();
    }
}

TEST_F(EditorCutout, IsNetSaysWhetherItIsLoadingOrRunning)
{
    struct Case {
        bool loaded;
        const char* autoSubject;
        const char* selection;
    };
    engines->isnetPresent = true;
    openDocument();
    editor->setMatteModel(MatteModel::isnet);
    editor->setPendingKind(SelectionKind::rectangle);
    for (const Case& c : {Case{false, "Loading IS-Net…", "Loading IS-Net…"},
                          Case{true, "Running IS-Net…", "Cutting selection…"}}) {
        engines->isnetIsLoaded = c.loaded;
        editor->runAutoSubject();
        EXPECT_EQ(editor->processingLabel(), QString::fromUtf8(c.autoSubject));
        runner->settle();
        editor->setPendingSelection(EditorState::Points{{10, 10}, {60, 50}});
        editor->cutSelection();
        EXPECT_EQ(editor->processingLabel(), QString::fromUtf8(c.selection));
        runner->settle();
    }
}

// The model loads when the editor starts only when the first import will need it.
TEST_F(EditorCutout, IsNetLoadsAtTheStartWhenAutoSubjectRunsOnImport)
{
    engines->isnetPresent = true;
    editor->setMatteModel(MatteModel::isnet);
    for (const bool autoSubject : {true, false}) {
        settings().setValue(QStringLiteral("autoSubjectOnImport"), autoSubject);
        const int loads = engines->calls("loadIsnet");
        makeEditor();
        runner->settle();
        EXPECT_EQ(engines->calls("loadIsnet"), loads + (autoSubject ? 1 : 0)) << autoSubject;
    }
}

// At an import the network loads beside the decoding, not after it: the
// cutout that follows then waits for neither one after the other.
TEST_F(EditorCutout, IsNetLoadsWhileThePictureIsDecoded)
{
    engines->isnetPresent = true;
    editor->setMatteModel(MatteModel::isnet);
    runner->settle();
    const int loads = engines->calls("loadIsnet");

    editor->importImage(writePicture(QStringLiteral("beach.png")));
    std::optional<std::size_t> warmUp;
    for (std::size_t job = 0; job < runner->pendingJobs(); ++job) {
        if (runner->priorityOf(job) == TaskPriority::utility)
            warmUp = job;
    }
    ASSERT_TRUE(warmUp) << "no load waits beside the decoding";
    runner->runJob(*warmUp);
    EXPECT_EQ(engines->calls("loadIsnet"), loads + 1);
    EXPECT_FALSE(editor->document());
    runner->settle();
    EXPECT_TRUE(editor->cutout());

    // Loaded, its working memory went back after that cutout: the next
    // import maps it in again beside the decoding too.
    engines->isnetIsLoaded = true;
    editor->importImage(writePicture(QStringLiteral("dune.png")));
    std::size_t utilityJobs = 0;
    for (std::size_t job = 0; job < runner->pendingJobs(); ++job)
        utilityJobs += runner->priorityOf(job) == TaskPriority::utility;
    EXPECT_EQ(utilityJobs, 1u) << "nothing maps the working memory in beside the decoding";
    runner->settle();
    EXPECT_EQ(engines->calls("loadIsnet"), loads + 2);
}

} // namespace zephrin::testing
