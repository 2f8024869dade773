// Opening a picture as the document or the backdrop, and clearing the editor.

#include "EditorFixture.h"
#include "support/HostileImages.h"

#include <QDir>
#include <QFile>

namespace zephrin::testing {

using EditorImport = EditorTest;

TEST_F(EditorImport, CutsOutUnlessTheSettingSaysFalse)
{
    const auto cutsOut = [&](std::optional<QVariant> stored) {
        if (stored)
            settings().setValue(QStringLiteral("autoSubjectOnImport"), *stored);
        else
            settings().remove(QStringLiteral("autoSubjectOnImport"));
        settings().sync();
        const int before = engines->calls("computeMatte");
        openDocument();
        return engines->calls("computeMatte") > before;
    };
    EXPECT_TRUE(cutsOut(std::nullopt));
    EXPECT_FALSE(cutsOut(false));
    EXPECT_TRUE(cutsOut(true));
    EXPECT_TRUE(cutsOut(QStringLiteral("banana")));
    EXPECT_FALSE(editor->lastError().size());
}

TEST_F(EditorImport, FlatColorIsTheMethodItRuns)
{
    editor->setCutoutMethod(CutoutMethod::flat);
    openDocument();
    EXPECT_EQ(engines->calls("flatColorMask"), 1);
    EXPECT_EQ(engines->calls("computeMatte"), 0);
    EXPECT_TRUE(editor->cutout());
}

TEST_F(EditorImport, KeepsTheUsersSettingsAndResetsTheDocumentsState)
{
    editor->setTool(EditorTool::sheet);
    editor->setComp(QStringLiteral("shadowEnabled"), true);
    editor->setFeather(3);
    openDocument(QStringLiteral("beach.heic.png"));
    EXPECT_EQ(editor->tool(), EditorTool::cutout);
    EXPECT_TRUE(editor->comp().shadowEnabled);
    EXPECT_EQ(editor->feather(), 3);
    EXPECT_EQ(editor->exportFilename(), QStringLiteral("beach.heic-cutout"));
    EXPECT_EQ(editor->lastCommitted().settings.feather, 3);

    editor->setTool(EditorTool::text);
    editor->setZoom(2);
    editor->appendMaskOp(MaskStroke{true, BrushTip::round, 10, 1, {{5, 5}}});
    runner->settle();
    openDocument(QStringLiteral("next.png"));
    EXPECT_EQ(editor->tool(), EditorTool::text);
    EXPECT_EQ(editor->zoom(), 1.0);
    EXPECT_TRUE(editor->maskOps().empty());
    EXPECT_TRUE(editor->undoStack().isEmpty());
    EXPECT_EQ(editor->canvasTool(), CanvasTool::view);
}

TEST_F(EditorImport, AFileThatIsNoPictureChangesNothingButTheMessage)
{
    openDocument();
    const QUuid id = editor->document()->id;
    QFile junk(dir.filePath(QStringLiteral("notes.png")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();
    // Decoding shows the busy state, and a failure ends it.
    editor->importImage(QUrl::fromLocalFile(junk.fileName()));
    EXPECT_TRUE(editor->isProcessing());
    EXPECT_EQ(editor->processingLabel(), QStringLiteral("Opening image…"));
    runner->settle();
    EXPECT_FALSE(editor->isProcessing());
    EXPECT_EQ(editor->lastError(),
              QStringLiteral("Couldn't open notes.png: it isn't a picture Zephrin reads."));
    EXPECT_EQ(editor->document()->id, id);
    EXPECT_TRUE(editor->cutout());
}

TEST_F(EditorImport, SaysWhyAFileDoesNotOpen)
{
    // Each failed as "Couldn't open <name>." whatever was wrong.
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return QUrl::fromLocalFile(file.fileName());
    };
    QFile picture(writePicture(QStringLiteral("whole.png")).toLocalFile());
    ASSERT_TRUE(picture.open(QIODevice::ReadOnly));
    const QByteArray png = picture.readAll();
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("album.png")));
    const std::pair<QUrl, QString> cases[] = {
        {QUrl::fromLocalFile(dir.filePath(QStringLiteral("missing.jpg"))),
         QStringLiteral("Couldn't open missing.jpg: the file doesn't exist.")},
        {QUrl::fromLocalFile(dir.filePath(QStringLiteral("album.png"))),
         QStringLiteral("Couldn't open album.png: it's a folder.")},
        {write(QStringLiteral("empty.png"), {}), QStringLiteral("Couldn't open empty.png: the file is empty.")},
        {write(QStringLiteral("cut.png"), png.left(png.size() / 2)),
         QStringLiteral("Couldn't open cut.png: the picture is damaged or incomplete.")},
        {write(QStringLiteral("huge.png"), pngClaiming(16400, 16400, 1100 * 1000, 8, true)),
         QStringLiteral("Couldn't open huge.png: the picture would take more than 1 GB of memory.")},
    };
    for (const auto& [url, message] : cases) {
        editor->importImage(url);
        runner->settle();
        EXPECT_EQ(editor->lastError(), message);
    }
}

TEST_F(EditorImport, TheNewestOfTwoImportsWins)
{
    editor->importImage(writePicture(QStringLiteral("first.png"), 100, 100));
    editor->importImage(writePicture(QStringLiteral("second.png"), 90, 60));
    runner->runJob(1);
    runner->runJob(0);
    runner->settle();
    EXPECT_EQ(editor->document()->url.fileName(), QStringLiteral("second.png"));
}

TEST_F(EditorImport, ABackgroundBecomesTheBackdropAndASavedBackground)
{
    editor->setImportTarget(ImportTarget::background);
    editor->importImage(writePicture(QStringLiteral("wall.png"), 60, 40));
    EXPECT_EQ(editor->importTarget(), ImportTarget::document);
    runner->settle();
    ASSERT_TRUE(editor->backgroundImage());
    EXPECT_EQ(editor->comp().backgroundMode, BackgroundMode::image);
    EXPECT_TRUE(editor->backdropID().isEmpty());
    EXPECT_EQ(engines->calls("composite"), 0);  // no document yet

    ASSERT_EQ(engines->saveRequests.size(), 1u);
    EXPECT_EQ(engines->saveRequests[0].name, QStringLiteral("wall"));
    settle(engines->saveRequests[0].promise, std::optional<QString>(QStringLiteral("ABC")));
    QCoreApplication::processEvents();
    EXPECT_EQ(editor->backdropID(), QStringLiteral("my:ABC"));

    // A document opened later composites over it.
    openDocument();
    EXPECT_EQ(engines->calls("composite"), 1);
}

TEST_F(EditorImport, ClearEmptiesTheEditorAndKeepsTheUsersChoices)
{
    openDocument();
    editor->setZoom(2);
    editor->setTool(EditorTool::effects);
    editor->setComp(QStringLiteral("padding"), 12);
    runner->settle();
    editor->clearDocument();
    EXPECT_FALSE(editor->document());
    EXPECT_FALSE(editor->cutout());
    EXPECT_FALSE(editor->composite());
    EXPECT_EQ(editor->comp(), CompositeSettings{});
    EXPECT_EQ(editor->subjectBoundsSize(), QSizeF(0, 0));
    EXPECT_EQ(editor->exportFilename(), QStringLiteral("beach-cutout"));
    EXPECT_EQ(editor->zoom(), 2);
    EXPECT_EQ(editor->tool(), EditorTool::effects);
    runner->settle();
    EXPECT_EQ(runner->pendingJobs(), 0u);
}

} // namespace zephrin::testing
