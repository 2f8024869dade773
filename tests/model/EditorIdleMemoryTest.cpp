// What the work leaves in memory goes back once nothing needs it: the
// network's working memory as a cutout lands, its session five seconds after
// the last cutout began, while the user edits on; the rest once the editor and
// the batch have been left alone for ten seconds. None of it goes while the
// work it would cost still runs.

#include "EditorFixture.h"
#include "model/batch/BatchState.h"

namespace zephrin::testing {

using namespace std::chrono_literals;

class EditorIdleMemory : public EditorTest {
protected:
    // Moves the clock on in steps of `step`, running the work that falls due.
    void work(std::chrono::milliseconds duration, std::chrono::milliseconds step = 100ms)
    {
        for (auto passed = 0ms; passed < duration; passed += step) {
            runner->runAll();
            runner->advance(step);
        }
        runner->runAll();
    }
};

TEST_F(EditorIdleMemory, TheNetworkGoesAfterTheCutoutWhileTheEditingGoesOn)
{
    engines->isnetPresent = true;
    editor->setMatteModel(MatteModel::isnet);
    editor->importImage(writePicture(QStringLiteral("beach.png")));
    work(1s);
    ASSERT_TRUE(editor->cutout());
    // Its working memory at once, the session a while later.
    EXPECT_EQ(engines->calls("releaseIsnetMemory"), 1);
    EXPECT_EQ(engines->calls("releaseIsnet"), 0);

    // A change every three seconds: the editor is never idle for long.
    for (int change = 1; change <= 4; ++change) {
        editor->setFeather(change);
        work(3s);
    }
    EXPECT_EQ(engines->calls("releaseIsnet"), 1);
    EXPECT_EQ(engines->calls("releaseIdleMemory"), 0);

    // Each cutout starts the wait again.
    editor->runAutoSubject();
    work(4s);
    editor->runAutoSubject();
    work(4s);
    EXPECT_EQ(engines->calls("releaseIsnet"), 1);
    work(2s);
    EXPECT_EQ(engines->calls("releaseIsnet"), 2);

    // Left alone for ten seconds, the rest goes too, once.
    EXPECT_EQ(engines->calls("releaseIdleMemory"), 0);
    work(5s);
    EXPECT_EQ(engines->calls("releaseIdleMemory"), 1);
    work(30s, 1s);
    EXPECT_EQ(engines->calls("releaseIdleMemory"), 1);
    editor->setFeather(9);
    work(11s);
    EXPECT_EQ(engines->calls("releaseIdleMemory"), 2);
}

// The working memory goes back on the cutout's own worker, before the matte
// lands: the refine the matte starts must not take its buffers while the
// network's pages are still resident (a give-back queued behind other work
// made the peak as high as it was late).
TEST_F(EditorIdleMemory, TheWorkingMemoryGoesBeforeTheMatteLands)
{
    engines->isnetPresent = true;
    editor->setMatteModel(MatteModel::isnet);
    editor->importImage(writePicture(QStringLiteral("beach.png")));
    while (engines->calls("computeMatte") == 0 && runner->runJob()) {
    }
    ASSERT_EQ(engines->calls("computeMatte"), 1);
    EXPECT_EQ(engines->calls("releaseIsnetMemory"), 1);
    EXPECT_EQ(engines->calls("refine"), 0);
    work(1s);
    EXPECT_TRUE(editor->cutout());
    EXPECT_EQ(engines->calls("releaseIsnetMemory"), 1);
}

// On a slow machine a cutout can outlast the wait: the network stays for it
// and goes as long after it, not only once the editor falls idle.
TEST_F(EditorIdleMemory, TheNetworkWaitsForACutoutThatOutlastsTheWait)
{
    editor->importImage(writePicture(QStringLiteral("beach.png")));
    work(1s);
    const int released = engines->calls("releaseIsnet");
    editor->runAutoSubject();
    // The cutout's job waits; the clock runs on past the wait.
    for (int step = 0; step < 6; ++step)
        runner->advance(1s);
    EXPECT_EQ(engines->calls("releaseIsnet"), released);

    ASSERT_TRUE(runner->runJob());
    // Edits keep the editor from falling idle meanwhile.
    for (int change = 1; change <= 3; ++change) {
        editor->setFeather(change);
        work(2s);
    }
    EXPECT_EQ(engines->calls("releaseIsnet"), released + 1);
    EXPECT_EQ(engines->calls("releaseIdleMemory"), 0);
}

TEST_F(EditorIdleMemory, NothingGoesWhileTheBatchRuns)
{
    editor->importImage(writePicture(QStringLiteral("beach.png")));
    work(1s);
    BatchState& batch = *editor->batch();
    batch.add({writePicture(QStringLiteral("a.png")), writePicture(QStringLiteral("b.png"))});
    batch.start(*editor);
    ASSERT_TRUE(batch.isRunning());
    // The first file's job waits; the clock runs on.
    for (int second = 0; second < 30; ++second)
        runner->advance(1s);
    EXPECT_EQ(engines->calls("releaseIsnet"), 0);
    EXPECT_EQ(engines->calls("releaseIdleMemory"), 0);

    runner->runAll();
    ASSERT_FALSE(batch.isRunning());
    work(11s);
    EXPECT_EQ(engines->calls("releaseIdleMemory"), 1);
    // Clearing the results lets what they held go too.
    batch.clear();
    work(11s);
    EXPECT_EQ(engines->calls("releaseIdleMemory"), 2);
}

} // namespace zephrin::testing
