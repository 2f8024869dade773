// Export, the share file, the clipboard and the drag payload.

#include "EditorFixture.h"

#include "model/batch/BatchState.h"
#include "model/editor/FeedbackTexts.h"
#include "output/service/OutputFile.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>

#include <cerrno>

using namespace std::chrono_literals;

namespace zephrin::testing {

using EditorExport = EditorTest;

TEST_F(EditorExport, WithoutACutoutOnlySaysSo)
{
    QSignalSpy busy(editor.get(), &EditorState::isProcessingChanged);
    editor->exportImage();
    EXPECT_EQ(editor->lastError(), QStringLiteral("Run Auto Subject first."));
    EXPECT_EQ(busy.count(), 0);
    EXPECT_EQ(runner->pendingJobs(), 0u);
}

TEST_F(EditorExport, HandsTheFileToTheSaveDialogAndWritesIt)
{
    openDocument();
    editor->setLastError(QStringLiteral("Couldn't save old.png: the disk is full."));
    editor->setShowExportSheet(true);
    editor->setExportFormat(ExportFormat::jpg);
    editor->setExportLongEdge(4000);
    editor->exportImage();
    EXPECT_TRUE(editor->lastError().isEmpty());  // a new export starts clean
    EXPECT_EQ(editor->processingLabel(), QStringLiteral("Exporting…"));
    runner->settle();
    ASSERT_TRUE(editor->exportFile());
    EXPECT_EQ(editor->exportFile()->contentType(), QStringLiteral("image/jpeg"));
    EXPECT_TRUE(editor->showFileExporter());
    EXPECT_FALSE(editor->isProcessing());

    // JPG is opaque on white, at the picture's own size (never enlarged).
    QImage written = QImage::fromData(editor->exportFile()->data);
    EXPECT_EQ(written.size(), QSize(120, 80));
    EXPECT_GT(qRed(written.pixel(2, 2)), 240);

    engines->failing = {"renderData"};
    editor->exportImage();
    runner->settle();
    EXPECT_EQ(editor->lastError(), QStringLiteral("The image couldn't be rendered."));
    EXPECT_FALSE(editor->isProcessing());
}

// A save says where the file went, or why it could not be written; the next
// save that works takes the error away. The export sheet stays under the save
// dialog, when it is cancelled and after a failed save; a saved file closes it.
TEST_F(EditorExport, SavingSaysWhereTheFileWentOrWhyNot)
{
    openDocument();
    editor->setShowExportSheet(true);
    editor->exportImage();
    runner->settle();
    ASSERT_TRUE(editor->exportFile());
    editor->setShowFileExporter(false);
    EXPECT_TRUE(editor->showExportSheet());

    editor->saveExportFile(QUrl::fromLocalFile(dir.filePath(QStringLiteral("no/such/folder/out.png"))));
    runner->runAll();
    EXPECT_EQ(editor->lastError(), QStringLiteral("Couldn't save out.png: the folder doesn't exist."));
    EXPECT_TRUE(editor->notice().isEmpty());
    EXPECT_TRUE(editor->showExportSheet());
    // The failed save keeps the file for a try in another folder.
    ASSERT_TRUE(editor->exportFile());
    const QByteArray data = editor->exportFile()->data;

    // A name with the characters a URL would cut a name at.
    const QString target = dir.filePath(QStringLiteral("photo #2?.png"));
    QFile(target).open(QIODevice::WriteOnly);  // the dialog asked before replacing it
    editor->saveExportFile(QUrl::fromLocalFile(target));
    EXPECT_TRUE(editor->isProcessing());
    runner->runAll();
    EXPECT_FALSE(editor->isProcessing());
    QFile written(target);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), data);
    // Saved, its bytes are let go: a large export is not kept until the next.
    EXPECT_FALSE(editor->exportFile());
    EXPECT_FALSE(editor->showExportSheet());
    EXPECT_TRUE(editor->lastError().isEmpty());
    EXPECT_EQ(editor->notice(), QStringLiteral("Saved photo #2?.png to ") + QDir::cleanPath(dir.path()));
    EXPECT_EQ(editor->noticeRevealPath(), target);
    runner->advance(EditorState::noticeDuration);
    EXPECT_TRUE(editor->notice().isEmpty());
    EXPECT_TRUE(editor->noticeRevealPath().isEmpty());

    // A newer export that lands while the save runs is not the saved one: it stays.
    editor->setExportFormat(ExportFormat::jpg);
    editor->exportImage();
    runner->settle();
    editor->setExportFormat(ExportFormat::png);
    editor->exportImage();
    editor->saveExportFile(QUrl::fromLocalFile(dir.filePath(QStringLiteral("first.jpg"))));
    runner->settle();
    ASSERT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("first.jpg"))));
    ASSERT_TRUE(editor->exportFile());
    EXPECT_EQ(editor->exportFile()->format, ExportFormat::png);
}

// An error stays until the user does something else that succeeds, whatever
// it was about; a result already on its way when the error came up leaves it.
TEST_F(EditorExport, AnErrorGoesWithTheNextThingThatSucceeds)
{
    openDocument();
    engines->failing = {"computeMatte"};
    editor->runAutoSubject();
    runner->settle();
    ASSERT_EQ(editor->lastError(), QStringLiteral("No subject was found in this image."));
    engines->failing.clear();
    editor->exportImage();  // the cutout before is still there to export
    EXPECT_TRUE(editor->lastError().isEmpty());
    runner->settle();
    ASSERT_TRUE(editor->exportFile());

    const auto failedBackdrop = [&] {
        engines->failing = {"renderBackdrop"};
        editor->selectBackdrop(Backdrop::presets().front());
        runner->runAll();
        engines->failing.clear();
        ASSERT_EQ(editor->lastError(), QStringLiteral("Couldn't create that backdrop."));
    };
    failedBackdrop();
    editor->setFeather(3);
    runner->settle();
    EXPECT_TRUE(editor->lastError().isEmpty());

    editor->setFeather(4);  // refines after its wait, which began before the failure
    failedBackdrop();
    runner->settle();
    EXPECT_FALSE(editor->lastError().isEmpty());
    editor->copyToPasteboard();
    EXPECT_TRUE(editor->lastError().isEmpty());
}

// A batch run that makes results and an Export All that writes files are
// successes too; one that makes or writes nothing leaves the error, and so
// does each for an error newer than its start.
TEST_F(EditorExport, ABatchThatSucceedsTakesAnOlderErrorAway)
{
    const QString error = QStringLiteral("Couldn't open old.png: the file doesn't exist.");
    BatchState& batch = *editor->batch();

    batch.add({QUrl::fromLocalFile(dir.filePath(QStringLiteral("gone.png")))});
    editor->setLastError(error);
    batch.start(*editor);
    runner->settle();
    ASSERT_EQ(batch.failedCount(), 1);
    EXPECT_EQ(editor->lastError(), error) << "a run that made nothing";

    batch.add({writePicture(QStringLiteral("one.png"))});
    batch.start(*editor);
    editor->setLastError(error);   // newer than the run
    runner->settle();
    ASSERT_EQ(batch.doneCount(), 1);
    EXPECT_EQ(editor->lastError(), error) << "an error newer than the run";
    batch.add({writePicture(QStringLiteral("two.png"))});
    batch.start(*editor);
    runner->settle();
    EXPECT_EQ(editor->lastError(), QString()) << "a run that made results";

    editor->setLastError(error);
    batch.saveAll(QUrl::fromLocalFile(dir.filePath(QStringLiteral("missing"))));
    runner->settle();
    EXPECT_EQ(editor->lastError(), error) << "an Export All that wrote nothing";
    batch.saveAll(QUrl::fromLocalFile(dir.path()));
    runner->settle();
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("two-cutout.png"))));
    EXPECT_EQ(editor->lastError(), QString()) << "an Export All that wrote files";
}

// Export All never replaces a file: one whose name is taken goes under the
// next number, and the notice says how many did, or which one, so that the
// old file under the name is not taken for the new one. An item whose result
// was written is no longer counted as existing only in memory.
TEST_F(EditorExport, ExportAllSaysWhichFilesGotNumberedNames)
{
    BatchState& batch = *editor->batch();
    batch.add({writePicture(QStringLiteral("one.png")), writePicture(QStringLiteral("two.png"))});
    batch.start(*editor);
    runner->settle();
    ASSERT_EQ(batch.doneCount(), 2);
    EXPECT_EQ(batch.unsavedResultCount(), 2);
    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    const QString shown = feedback::folderText(out, QDir::homePath());
    const struct {
        QStringList present;   // in the folder before the export
        QString notice;
    } cases[] = {
        {{}, QStringLiteral("Exported 2 files to %1").arg(shown)},
        {{QStringLiteral("one-cutout.png")},
         QStringLiteral("Exported 2 files to %1; 1 name was taken, so it is one-cutout-2.png").arg(shown)},
        {{QStringLiteral("one-cutout.png"), QStringLiteral("two-cutout.png")},
         QStringLiteral("Exported 2 files to %1; 2 names were taken, so those end in -2, -3 …").arg(shown)},
    };
    for (const auto& [present, notice] : cases) {
        QDir(out).removeRecursively();
        QDir().mkpath(out);
        for (const QString& name : present)
            QFile(QDir(out).filePath(name)).open(QIODevice::WriteOnly);
        batch.saveAll(QUrl::fromLocalFile(out));
        runner->runAll();  // the notice still up
        EXPECT_EQ(editor->notice(), notice);
        EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), present.size() + 2);
        EXPECT_EQ(batch.unsavedResultCount(), 0);
    }

    // A result made after the export exists only in memory again.
    batch.add({writePicture(QStringLiteral("three.png"))});
    batch.start(*editor);
    runner->settle();
    EXPECT_EQ(batch.doneCount(), 3);
    EXPECT_EQ(batch.unsavedResultCount(), 1);
}

TEST_F(EditorExport, WriteFailuresSayWhy)
{
    const std::pair<int, const char*> reasons[] = {
        {ENOENT, "the folder doesn't exist"},        {ENOTDIR, "part of the path is a file, not a folder"},
        {EACCES, "there's no permission to write there"}, {ENOSPC, "the disk is full"},
        {EDQUOT, "the disk is full"},                 {EROFS, "the disk is read-only"},
    };
    for (const auto& [error, reason] : reasons)
        EXPECT_EQ(writeFailureReason(error), QString::fromUtf8(reason)) << error;
}

TEST(FeedbackTexts, FoldersReadFromHome)
{
    using namespace feedback;
    EXPECT_EQ(folderText(QStringLiteral("/home/ann/Pictures/"), QStringLiteral("/home/ann")), QStringLiteral("~/Pictures"));
    EXPECT_EQ(folderText(QStringLiteral("/home/ann"), QStringLiteral("/home/ann/")), QStringLiteral("~"));
    EXPECT_EQ(folderText(QStringLiteral("/home/anna/x"), QStringLiteral("/home/ann")), QStringLiteral("/home/anna/x"));
    EXPECT_EQ(folderText(QStringLiteral("/srv/x"), QStringLiteral("/")), QStringLiteral("/srv/x"));
    EXPECT_EQ(exportedNotice(1, QStringLiteral("/home/ann/Out"), QStringLiteral("/home/ann")),
              QStringLiteral("Exported 1 file to ~/Out"));
    EXPECT_EQ(exportedNotice(5, QStringLiteral("/media/usb"), QStringLiteral("/home/ann")),
              QStringLiteral("Exported 5 files to /media/usb"));
}

TEST_F(EditorExport, ANoticeGivesWayToTheNextAndGoesAfterItsTime)
{
    editor->showNotice(QStringLiteral("Copied"));
    runner->advance(EditorState::noticeDuration / 2);
    editor->showNotice(QStringLiteral("Saved a.png to ~"), QStringLiteral("/home/a.png"));
    runner->advance(EditorState::noticeDuration / 2);
    EXPECT_EQ(editor->notice(), QStringLiteral("Saved a.png to ~"));
    runner->advance(EditorState::noticeDuration / 2);
    EXPECT_TRUE(editor->notice().isEmpty());

    // A closed notice's wait takes nothing away from the next one.
    editor->showNotice(QStringLiteral("Copied"));
    editor->dismissNotice();
    EXPECT_TRUE(editor->notice().isEmpty());
    runner->advance(EditorState::noticeDuration / 2);
    editor->showNotice(QStringLiteral("Copied"));
    runner->advance(EditorState::noticeDuration / 2);
    EXPECT_EQ(editor->notice(), QStringLiteral("Copied"));
}

TEST_F(EditorExport, SvgTracesTheCroppedCutoutAtABoundedSize)
{
    openDocument();
    editor->setComp(QStringLiteral("backgroundMode"), QStringLiteral("Color"));
    editor->setComp(QStringLiteral("crop"), QRectF(10, 10, 50, 40));
    runner->settle();
    editor->setExportFormat(ExportFormat::svg);
    editor->setExportLongEdge(4800);
    editor->exportImage();
    EXPECT_EQ(editor->processingLabel(), QStringLiteral("Tracing…"));
    runner->settle();
    EXPECT_EQ(engines->lastTraceOptions.traceLongEdge, 2048);
    EXPECT_EQ(engines->lastTracedSize, QSize(50, 40));
    ASSERT_TRUE(editor->exportFile());
    // The drawing is written at the size chosen, as a picture would be.
    const QString svg = QString::fromUtf8(editor->exportFile()->data);
    const auto size = QRegularExpression(QStringLiteral(R"re(<svg [^>]*width="(\d+)" height="(\d+)")re")).match(svg);
    ASSERT_TRUE(size.hasMatch()) << svg.left(200).toStdString();
    EXPECT_EQ(std::max(size.captured(1).toInt(), size.captured(2).toInt()), 4800);

    editor->setExportLongEdge(100);
    editor->exportImage();
    runner->settle();
    EXPECT_EQ(engines->lastTraceOptions.traceLongEdge, 256);
}

// The tracer reads ink from the photo only where it matches the traced
// cutout pixel for pixel, so a mirrored cutout needs a mirrored photo.
TEST_F(EditorExport, SvgOfAMirroredResultTracesAMirroredPhoto)
{
    QImage picture(120, 80, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter(&picture).fillRect(0, 0, 30, 80, Qt::black);
    const QString path = dir.filePath(QStringLiteral("ink.png"));
    ASSERT_TRUE(picture.save(path, "PNG"));
    editor->importImage(QUrl::fromLocalFile(path));
    runner->settle();
    editor->setComp(QStringLiteral("mirror"), true);
    runner->settle();
    editor->setExportFormat(ExportFormat::svg);
    editor->exportImage();
    runner->settle();
    ASSERT_TRUE(engines->lastTraceSource);
    const QImage photo = toQImage(*engines->lastTraceSource);
    ASSERT_EQ(photo.size(), engines->lastTracedSize);
    EXPECT_EQ(photo.pixelColor(115, 40), QColor(Qt::black));
    EXPECT_EQ(photo.pixelColor(4, 40), QColor(Qt::white));
}

TEST_F(EditorExport, OnlyAnOpaqueBackgroundMakesTheResultOpaque)
{
    openDocument();
    EXPECT_FALSE(editor->resultOpaque());  // the cutout itself
    editor->setComp(QStringLiteral("backgroundMode"), QStringLiteral("Color"));
    runner->settle();
    EXPECT_TRUE(editor->resultOpaque());
    // Text drawn over it leaves it opaque.
    editor->addTextLayer();
    runner->settle();
    EXPECT_TRUE(editor->resultOpaque());
    editor->setComp(QStringLiteral("backgroundColor"), QColor(255, 255, 255, 128));
    runner->settle();
    EXPECT_FALSE(editor->resultOpaque());
    editor->clearDocument();
    EXPECT_FALSE(editor->resultOpaque());
}

// An export asked for while an edit is still being rendered (Share from the
// menu, whose command stays enabled meanwhile) writes the picture after the
// edit, not the one before it; a document cleared meanwhile takes it away.
TEST_F(EditorExport, AnExportAskedForMidEditWaitsForTheEdit)
{
    openDocument();
    editor->setComp(QStringLiteral("backgroundMode"), QStringLiteral("Color"));
    editor->setComp(QStringLiteral("backgroundColor"), QColor(255, 0, 0));
    ASSERT_TRUE(editor->isProcessing());
    editor->exportImage();
    runner->settle();
    ASSERT_TRUE(editor->exportFile());
    const QImage written = QImage::fromData(editor->exportFile()->data);
    EXPECT_EQ(written.pixel(1, 1), qRgb(255, 0, 0));

    editor->setComp(QStringLiteral("backgroundColor"), QColor(0, 0, 255));
    ASSERT_TRUE(editor->isProcessing());
    editor->exportImage();
    editor->clearDocument();
    const QSignalSpy exported(editor.get(), &EditorState::exportFileChanged);
    runner->settle();
    EXPECT_EQ(exported.count(), 0);
    EXPECT_TRUE(editor->lastError().isEmpty());
}

// Undo brings back a backdrop whose pixels history let go, and rendering it
// again fails: the composite at hand is over the backdrop before it, so an
// export (asked for while the render runs, or after) is refused with the
// error, for a share too; once the backdrop is made, the export is written.
TEST_F(EditorExport, ABackdropThatCannotBeMadeAgainIsNeverExportedOverAnother)
{
    openDocument();
    for (int pick = 0; pick < 6; ++pick) {
        editor->selectBackdrop(Backdrop::presets()[std::size_t(pick)]);
        runner->settle();
    }
    engines->failing = {"renderBackdrop"};
    for (int step = 0; step < 6 && !(editor->hasBackgroundPicture() && !editor->backgroundImage()); ++step) {
        runner->settle();
        editor->undo();
    }
    ASSERT_FALSE(editor->backgroundImage()) << "no backdrop is made again";
    ASSERT_TRUE(editor->isProcessing());
    const QSignalSpy exported(editor.get(), &EditorState::exportFileChanged);
    editor->exportImage();  // waits for the render
    runner->settle();
    EXPECT_EQ(editor->lastError(), QStringLiteral("Couldn't create the backdrop, so nothing was exported."));
    editor->setExportDestination(ExportDestination::share);
    editor->exportImage();
    runner->settle();
    EXPECT_EQ(editor->lastError(), QStringLiteral("Couldn't create the backdrop, so nothing was exported."));
    EXPECT_EQ(exported.count(), 0);
    EXPECT_TRUE(editor->shareURL().isEmpty());

    engines->failing.clear();
    editor->setExportDestination(ExportDestination::files);
    editor->setComp(QStringLiteral("shadowEnabled"), true);  // composites again, making the backdrop first
    runner->settle();
    editor->exportImage();
    runner->settle();
    EXPECT_TRUE(editor->lastError().isEmpty());
    EXPECT_TRUE(editor->exportFile());
}

TEST_F(EditorExport, SharingKeepsOneFileInAPrivateFolder)
{
    openDocument();
    editor->setExportDestination(ExportDestination::share);
    editor->setExportFilename(QStringLiteral("../../.hidden/name"));
    editor->exportImage();
    runner->runAll();
    ASSERT_FALSE(editor->shareURL().isEmpty());
    const QFileInfo first(editor->shareURL().toLocalFile());
    EXPECT_EQ(first.fileName(), QStringLiteral("name.png"));
    EXPECT_EQ(first.absolutePath(), QFileInfo(editor->shareFolder()).absoluteFilePath());
    EXPECT_EQ(QFileInfo(editor->shareFolder()).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
    EXPECT_FALSE(editor->showShareSheet());
    // The file by its full path, to copy from the first notice on.
    EXPECT_EQ(editor->notice(), QStringLiteral("Ready to share ") + first.absoluteFilePath());
    EXPECT_EQ(editor->noticeRevealPath(), first.absoluteFilePath());
    EXPECT_EQ(editor->noticeCopyPath(), first.absoluteFilePath());
    runner->advance(350ms);
    EXPECT_TRUE(editor->showShareSheet());

    editor->setExportFilename(QStringLiteral("..."));
    editor->exportImage();
    runner->settle();
    const QStringList files = QDir(editor->shareFolder()).entryList(QDir::Files);
    EXPECT_EQ(files, QStringList{QStringLiteral("cutout.png")});
}

// An encode of the result's PNG cannot be stopped: results published while one
// runs wait for it, and only the newest is encoded after it, so stale encodes
// never pile up beside each other; a copy meanwhile gets the newest result.
TEST_F(EditorExport, MakesOneResultPngAtATimeAndTheNewestNext)
{
    openDocument();
    const int encodes = engines->calls("encodePNG");
    const auto publish = [&](QRectF crop) {
        editor->setComp(QStringLiteral("crop"), crop);
        runner->advance(90ms);
        ASSERT_EQ(runner->pendingJobs(), std::size_t(1) + (editor->resultPNG() ? 0 : 1));
        runner->runJob(runner->pendingJobs() - 1);  // the composite
    };
    publish(QRectF(0, 0, 60, 40));
    runner->advance(250ms);
    ASSERT_EQ(runner->pendingJobs(), 1u);  // the first result's encode, running
    publish(QRectF(0, 0, 50, 30));
    publish(QRectF(0, 0, 40, 20));
    runner->advance(250ms);
    EXPECT_EQ(runner->pendingJobs(), 1u) << "no second encode beside the first";

    editor->copyToPasteboard();
    runner->runJob(0);  // the stale encode ends; the newest starts
    EXPECT_FALSE(clipboard->last);
    ASSERT_EQ(runner->pendingJobs(), 1u);
    runner->runJob(0);
    EXPECT_EQ(engines->calls("encodePNG"), encodes + 2);
    ASSERT_TRUE(clipboard->last);
    EXPECT_EQ(QImage::fromData(clipboard->last->data(QStringLiteral("image/png"))).size(), QSize(40, 20));
}

// The PNG made ahead of a copy gives way to work the user waits for (its
// deflate would take every core from it): a change begun while it runs stops
// it, and the PNG of the newest result is made once that work is done.
TEST_F(EditorExport, APngMadeAheadGivesWayToWorkTheUserWaitsFor)
{
    openDocument();
    const int encodes = engines->calls("encodePNG");
    editor->setComp(QStringLiteral("crop"), QRectF(0, 0, 60, 40));
    runner->advance(90ms);
    runner->runAll();
    runner->advance(250ms);
    ASSERT_EQ(runner->pendingJobs(), 1u); // the PNG, made ahead

    editor->setComp(QStringLiteral("crop"), QRectF(0, 0, 50, 30));
    runner->runJob(0); // stopped by the composite begun meanwhile
    EXPECT_FALSE(editor->resultPNG());
    EXPECT_TRUE(editor->lastError().isEmpty());
    runner->advance(300ms); // the composite still waits: so does the PNG
    ASSERT_EQ(runner->pendingJobs(), 1u);
    runner->runJob(0);
    ASSERT_EQ(editor->composite()->image().width(), 50);
    runner->settle();
    ASSERT_TRUE(editor->resultPNG());
    EXPECT_EQ(QImage::fromData(*editor->resultPNG()).size(), QSize(50, 30));
    EXPECT_EQ(engines->calls("encodePNG"), encodes + 2);
}

// The result's PNG is made on a worker after each result, so a copy lands at
// once with its notice; a copy of a result whose PNG is still to be made
// lands with it, never with the result before.
TEST_F(EditorExport, CopyTakesThePngMadeOffTheGuiThread)
{
    editor->copyToPasteboard();
    runner->settle();
    EXPECT_FALSE(clipboard->last);

    openDocument();
    ASSERT_TRUE(editor->resultPNG());
    const int encodes = engines->calls("encodePNG");
    editor->copyToPasteboard();
    ASSERT_TRUE(clipboard->last);
    EXPECT_EQ(engines->calls("encodePNG"), encodes);
    EXPECT_EQ(clipboard->last->formats().value(0), QStringLiteral("image/png"));
    EXPECT_TRUE(clipboard->last->hasImage());
    EXPECT_EQ(QImage::fromData(clipboard->last->data(QStringLiteral("image/png"))).size(), QSize(120, 80));
    // The flavours made from the picture (JPEG, BMP) show it on white where
    // the PNG is clear.
    {
        const QImage png = QImage::fromData(clipboard->last->data(QStringLiteral("image/png")));
        const QImage picture = qvariant_cast<QImage>(clipboard->last->imageData());
        ASSERT_EQ(picture.size(), png.size());
        EXPECT_FALSE(picture.hasAlphaChannel());
        int clear = 0, white = 0;
        for (int y = 0; y < png.height(); ++y)
            for (int x = 0; x < png.width(); ++x)
                if (qAlpha(png.pixel(x, y)) == 0) {
                    ++clear;
                    white += picture.pixel(x, y) == qRgb(255, 255, 255);
                }
        EXPECT_GT(clear, 0);
        EXPECT_EQ(white, clear);
    }
    EXPECT_EQ(editor->notice(), QStringLiteral("Copied"));
    runner->advance(EditorState::noticeDuration);
    EXPECT_TRUE(editor->notice().isEmpty());

    clipboard->last.reset();
    editor->setComp(QStringLiteral("crop"), QRectF(0, 0, 60, 40));
    runner->advance(90ms);
    runner->runAll();
    ASSERT_EQ(editor->composite()->image().width(), 60);
    EXPECT_FALSE(editor->resultPNG());
    editor->copyToPasteboard();
    EXPECT_FALSE(clipboard->last);
    runner->settle();
    ASSERT_TRUE(clipboard->last);
    EXPECT_EQ(QImage::fromData(clipboard->last->data(QStringLiteral("image/png"))).size(), QSize(60, 40));

    // A newer result published while the copy's PNG is being made (a slider let
    // go, Ctrl+C at once): the copy takes the newest result as soon as its PNG
    // is made, and says so.
    clipboard->last.reset();
    editor->dismissNotice();
    editor->setComp(QStringLiteral("crop"), QRectF(0, 0, 56, 40));
    runner->advance(90ms);
    runner->runAll();
    editor->copyToPasteboard();
    runner->advance(0ms);
    const std::size_t encoding = runner->pendingJobs();
    ASSERT_GE(encoding, 1u);
    editor->setComp(QStringLiteral("crop"), QRectF(0, 0, 52, 40));
    runner->advance(90ms);
    ASSERT_EQ(runner->pendingJobs(), encoding + 1);
    runner->runJob(encoding);  // the composite lands before the PNG of the one before
    ASSERT_EQ(editor->composite()->image().width(), 52);
    runner->runAll();
    ASSERT_TRUE(clipboard->last);
    EXPECT_EQ(QImage::fromData(clipboard->last->data(QStringLiteral("image/png"))).size(), QSize(52, 40));
    EXPECT_EQ(editor->notice(), QStringLiteral("Copied"));

    // A PNG that cannot be made says so instead of copying nothing in silence.
    clipboard->last.reset();
    engines->failing = {"encodePNG"};
    editor->setComp(QStringLiteral("crop"), QRectF(0, 0, 50, 40));
    runner->settle();
    editor->copyToPasteboard();
    runner->settle();
    EXPECT_FALSE(clipboard->last);
    EXPECT_FALSE(editor->lastError().isEmpty());
    // The next copy that works takes that away.
    engines->failing = {};
    editor->copyToPasteboard();
    runner->settle();
    ASSERT_TRUE(clipboard->last);
    EXPECT_TRUE(editor->lastError().isEmpty());
}

} // namespace zephrin::testing
