// The window's file dialogs driven as a user drives them: Qt's own dialog
// (the one every desktop without a chooser of its own gets), opened by the
// editor's flags, answered by typing, Enter and clicks, and followed to the
// file on disk.

#include "EditorFixture.h"
#include "app/shell/AppSettings.h"
#include "app/shell/DesktopFileChooser.h"
#include "app/shell/FileChooser.h"
#include "app/shell/FileDialogs.h"
#include "app/shell/WindowCommands.h"
#include "support/Patience.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <functional>

namespace zephrin::testing {
namespace {

class FileDialogsTest : public EditorTest {
protected:
    FileDialogsTest()
    {
        QDir(home).removeRecursively();
        QDir().mkpath(pictures);
        commands = std::make_unique<WindowCommands>(*editor);
        settings = std::make_unique<AppSettings>(dir.filePath(QStringLiteral("app.ini")), false);
        dialogs = std::make_unique<FileDialogs>(*editor, *commands, *settings, chooser);
        // A saved file's bytes leave the editor: they are kept here to compare.
        QObject::connect(editor.get(), &EditorState::exportFileChanged, [this] {
            if (editor->exportFile())
                exported = editor->exportFile()->data;
        });
    }

    ~FileDialogsTest() override
    {
        if (QFileDialog* open = chooser.currentDialog())
            open->reject();
        QApplication::processEvents();
    }

    QFileDialog* dialog() const { return chooser.currentDialog(); }
    QLineEdit* nameField() const { return dialog()->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")); }
    // The view of the folder's files that is showing (list or details).
    QAbstractItemView* fileList() const
    {
        for (const char* name : {"listView", "treeView"})
            if (auto* view = dialog()->findChild<QAbstractItemView*>(QString::fromLatin1(name)); view && view->isVisible())
                return view;
        return dialog()->findChild<QAbstractItemView*>(QStringLiteral("listView"));
    }
    QPushButton* acceptButton() const
    {
        auto* buttons = dialog()->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        QPushButton* open = buttons->button(QDialogButtonBox::Open);
        return open ? open : buttons->button(QDialogButtonBox::Save);
    }

    // Replaces the name field's text as a user would, then presses Enter.
    void typeAndEnter(const QString& text)
    {
        nameField()->selectAll();
        QTest::keyClick(nameField(), Qt::Key_Backspace);
        QTest::keyClicks(nameField(), text);
        QTest::keyClick(nameField(), Qt::Key_Return);
    }

    // Answers the next question box (one that runs its own event loop) with
    // `button`; records its text.
    void answerQuestionWith(QMessageBox::StandardButton button)
    {
        poll = std::make_unique<QTimer>();
        poll->setInterval(10);
        QObject::connect(poll.get(), &QTimer::timeout, [this, button] {
            QMessageBox* box = nullptr;
            for (QWidget* window : QApplication::allWidgets())
                if (auto* candidate = qobject_cast<QMessageBox*>(window); candidate && candidate->isVisible())
                    box = candidate;
            if (box) {
                question = box->text();
                poll->stop();
                box->button(button)->click();
            }
        });
        poll->start();
    }

    // Exports the open document and waits for the save dialog.
    void exportAndOpenSaveDialog()
    {
        editor->exportImage();
        runner->settle();
        ASSERT_TRUE(editor->showFileExporter());
        ASSERT_TRUE(dialog());
    }

    // The file at `path`, once the save that the dialog started has run.
    bool savedTo(const QString& path)
    {
        runner->runAll();
        return QFileInfo(path).isFile() && QFileInfo(path).size() == exported.size();
    }

    // Goes into a folder of the list: the folder made current, then Enter.
    void enterFolder(const QString& name)
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return findRow(name).isValid(); }, kPatienceMs));
        fileList()->setFocus();
        fileList()->setCurrentIndex(findRow(name));
        QTest::keyClick(fileList(), Qt::Key_Return);
    }

    // The row of a name in the file list.
    QModelIndex findRow(const QString& name) const
    {
        const QAbstractItemModel* model = fileList()->model();
        for (int row = 0; row < model->rowCount(fileList()->rootIndex()); ++row) {
            const QModelIndex index = model->index(row, 0, fileList()->rootIndex());
            if (index.data().toString() == name)
                return index;
        }
        return {};
    }

    QString makeFolder(const QString& relative) const
    {
        const QString path = QDir(home).filePath(relative);
        QDir().mkpath(path);
        return QDir::cleanPath(path);
    }

    QString writeImage(const QString& folder, const QString& name) const
    {
        const QString path = QDir(folder).filePath(name);
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::blue);
        image.save(path, "PNG");
        return path;
    }

    const QString home = QDir::homePath();
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    DesktopFileChooser chooser;
    std::unique_ptr<WindowCommands> commands;
    std::unique_ptr<AppSettings> settings;
    std::unique_ptr<FileDialogs> dialogs;
    QString question;
    std::unique_ptr<QTimer> poll;
    QByteArray exported;   // the bytes of the newest export
};

TEST_F(FileDialogsTest, ATypedNameSavesThereWithEnter)
{
    openDocument();
    exportAndOpenSaveDialog();
    EXPECT_EQ(dialog()->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(QDir::cleanPath(dialog()->directory().path()), QDir::cleanPath(pictures));
    EXPECT_EQ(nameField()->text(), QStringLiteral("beach-cutout.png"));
    EXPECT_EQ(acceptButton()->text().remove(u'&'), QStringLiteral("Save"));
    EXPECT_TRUE(dialog()->findChild<QToolButton*>(QStringLiteral("newFolderButton"))->isVisibleTo(dialog()));

    typeAndEnter(QStringLiteral("duck2.png"));
    EXPECT_FALSE(dialog());
    EXPECT_FALSE(editor->showFileExporter());
    EXPECT_TRUE(savedTo(QDir(pictures).filePath(QStringLiteral("duck2.png"))));
    EXPECT_EQ(editor->notice(), QStringLiteral("Saved duck2.png to ~/Pictures"));

    // Without an extension the format's is added.
    exportAndOpenSaveDialog();
    typeAndEnter(QStringLiteral("duck3"));
    EXPECT_TRUE(savedTo(QDir(pictures).filePath(QStringLiteral("duck3.png"))));
}

// A folder that is missing, named with a file or alone ("nowhere/"), or a
// name too long for the folder once it has its extension, keeps the dialog
// open and says so; nothing is saved until the name is right.
TEST_F(FileDialogsTest, ATypedPathSavesInThatFolderAndAMissingOneKeepsTheDialogOpen)
{
    const QString album = makeFolder(QStringLiteral("Pictures/album"));
    openDocument();
    exportAndOpenSaveDialog();
    typeAndEnter(QStringLiteral("album/duck.png"));
    EXPECT_TRUE(savedTo(QDir(album).filePath(QStringLiteral("duck.png"))));

    editor->setExportFormat(ExportFormat::webp);
    exportAndOpenSaveDialog();
    const QString missing = QStringLiteral("Couldn't save in “nowhere”: the folder doesn't exist.");
    const struct {
        QString typed;
        QString question;
    } refused[] = {
        {QStringLiteral("nowhere/duck.webp"), missing},
        {QStringLiteral("nowhere/"), missing},
        // 256 bytes with its extension, one more than the folder takes.
        {QString(251, u'a'), QStringLiteral("Couldn't save “%1…%2.webp”: the name is too long.")
                                 .arg(QString(24, u'a'), QString(19, u'a'))},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.typed.toStdString());
        question.clear();
        answerQuestionWith(QMessageBox::Ok);
        typeAndEnter(r.typed);
        EXPECT_EQ(question, r.question);
        ASSERT_TRUE(dialog());
        EXPECT_TRUE(editor->showFileExporter());
        // The keys are the dialog's again, for the mended name.
        EXPECT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == dialog()->windowHandle(); }, kPatienceMs));
    }
    runner->runAll();
    EXPECT_EQ(editor->lastError(), QString());
    EXPECT_FALSE(QFileInfo::exists(QDir(pictures).filePath(QStringLiteral("nowhere"))));
    EXPECT_EQ(QDir(pictures).entryList(QDir::Files | QDir::Hidden), QStringList());
    // The user mends the name and saves.
    typeAndEnter(QStringLiteral("album/duck"));
    EXPECT_TRUE(savedTo(QDir(album).filePath(QStringLiteral("duck.webp"))));
}

// The format's extension is added unless the name ends in one of the
// format's own, whatever dots the name holds, on the image's export and the
// sheet's.
TEST_F(FileDialogsTest, ANameGetsItsFormatsExtensionUnlessItHasOne)
{
    makeFolder(QStringLiteral("Pictures/album"));
    const struct {
        ExportFormat format;
        QString typed;
        QString saved;
    } cases[] = {
        {ExportFormat::png, QStringLiteral("logo v1.2"), QStringLiteral("logo v1.2.png")},
        {ExportFormat::png, QStringLiteral("logo."), QStringLiteral("logo.png")},
        {ExportFormat::png, QStringLiteral("album/v2.0 final"), QStringLiteral("album/v2.0 final.png")},
        {ExportFormat::jpg, QStringLiteral("duck.JPEG"), QStringLiteral("duck.JPEG")},
        {ExportFormat::jpg, QStringLiteral("duck.png"), QStringLiteral("duck.png.jpg")},
        {ExportFormat::heic, QStringLiteral("shot.heif"), QStringLiteral("shot.heif")},
    };
    openDocument();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        editor->setExportFormat(c.format);
        exportAndOpenSaveDialog();
        typeAndEnter(c.typed);
        EXPECT_FALSE(dialog());
        EXPECT_TRUE(savedTo(QDir(pictures).filePath(c.saved)));
        EXPECT_EQ(editor->notice(), QStringLiteral("Saved %1 to ~/Pictures%2")
                                        .arg(QFileInfo(c.saved).fileName(),
                                             c.saved.contains(u'/') ? QStringLiteral("/album") : QString()));
    }

    editor->addToStickerSheet();
    runner->settle();
    editor->exportStickerSheetCutSVG();
    ASSERT_TRUE(dialog());
    EXPECT_EQ(nameField()->text(), QStringLiteral("sticker-sheet-cut.svg"));
    typeAndEnter(QStringLiteral("cut v1.5"));
    EXPECT_TRUE(savedTo(QDir(pictures).filePath(QStringLiteral("cut v1.5.svg"))));
}

// A folder is remembered once a save into it succeeded, and no dialog opens
// in a folder that cannot be listed as one of files.
TEST_F(FileDialogsTest, OnlyAFolderSavedIntoIsRememberedAndOnlyPlainOnesOpen)
{
    QDir(pictures).removeRecursively();
    // Stored by an earlier run: the kernel's files, where listing blocks.
    settings->setLastFolder(QStringLiteral("/proc"));
    openDocument();
    exportAndOpenSaveDialog();
    EXPECT_EQ(QDir::cleanPath(dialog()->directory().path()), QDir::cleanPath(home));
    EXPECT_FALSE(dialog()->sidebarUrls().contains(QUrl::fromLocalFile(QStringLiteral("/proc"))));

    // The folder goes between the answer and the write: the save fails, and
    // the folder is not where the next dialog starts.
    const QString gone = makeFolder(QStringLiteral("gone"));
    typeAndEnter(QStringLiteral("gone/duck.png"));
    ASSERT_FALSE(dialog());
    QDir(gone).removeRecursively();
    runner->runAll();
    EXPECT_EQ(editor->lastError(), QStringLiteral("Couldn't save duck.png: the folder doesn't exist."));
    EXPECT_EQ(settings->lastFolder(), QStringLiteral("/proc"));
    exportAndOpenSaveDialog();
    EXPECT_EQ(QDir::cleanPath(dialog()->directory().path()), QDir::cleanPath(home));

    const QString kept = makeFolder(QStringLiteral("kept"));
    typeAndEnter(QStringLiteral("kept/duck.png"));
    EXPECT_TRUE(savedTo(QDir(kept).filePath(QStringLiteral("duck.png"))));
    EXPECT_EQ(settings->lastFolder(), kept);

    // Nor does the dialog read a file to name its type: a typed "/p" is
    // enough for it to look into /proc, where a read of /proc/kmsg never ends.
    // A picture without an extension shows as what its name says.
    exportAndOpenSaveDialog();
    QFile::copy(writeImage(kept, QStringLiteral("plain.png")), QDir(kept).filePath(QStringLiteral("noname")));
    dialog()->setDirectory(kept);
    dialog()->setNameFilter(QStringLiteral("*"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return findRow(QStringLiteral("noname")).isValid(); }, kPatienceMs));
    const QModelIndex type = findRow(QStringLiteral("noname")).siblingAtColumn(2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !type.data().toString().isEmpty(); }, kPatienceMs));
    EXPECT_NE(type.data().toString(), QMimeDatabase().mimeTypeForName(QStringLiteral("image/png")).comment());
}

// The desktop's own choosers add no extension Qt's way: the name they answer
// gets it, and a file of that name, which they did not ask about, stays.
TEST_F(FileDialogsTest, AChoosersAnswerGetsTheExtensionAndReplacesNothingUnasked)
{
    struct Answering final : FileChooser {
        QString answer;
        void open(const FileDialogRequest&, Answer reply) override { reply({QUrl::fromLocalFile(answer)}); }
    } answering;
    dialogs.reset();
    FileDialogs dialogsOverAnswers(*editor, *commands, *settings, answering);
    openDocument();

    answering.answer = QDir(pictures).filePath(QStringLiteral("logo v1.2"));
    editor->exportImage();
    runner->settle();
    EXPECT_TRUE(savedTo(QDir(pictures).filePath(QStringLiteral("logo v1.2.png"))));

    const QString existing = writeImage(pictures, QStringLiteral("duck.png"));
    const qint64 before = QFileInfo(existing).size();
    answering.answer = QDir(pictures).filePath(QStringLiteral("duck"));
    editor->exportImage();
    runner->settle();
    EXPECT_EQ(QFileInfo(existing).size(), before);
    EXPECT_EQ(editor->lastError(), QStringLiteral("Couldn't save duck.png: a file of that name exists already."));
}

TEST_F(FileDialogsTest, NavigatingKeepsTheNameAndSavesInTheNewFolder)
{
    const QString album = makeFolder(QStringLiteral("Pictures/album"));
    openDocument();
    exportAndOpenSaveDialog();
    // Into the folder from the list; the typed name stays.
    nameField()->selectAll();
    QTest::keyClicks(nameField(), QStringLiteral("renamed.png"));
    enterFolder(QStringLiteral("album"));
    EXPECT_EQ(QDir::cleanPath(dialog()->directory().path()), album);
    EXPECT_EQ(nameField()->text(), QStringLiteral("renamed.png"));
    QTest::keyClick(nameField(), Qt::Key_Return);
    EXPECT_TRUE(savedTo(QDir(album).filePath(QStringLiteral("renamed.png"))));
    // A folder's name typed and entered goes into it; the name comes back.
    const QString inner = makeFolder(QStringLiteral("Pictures/album/inner"));
    exportAndOpenSaveDialog();
    typeAndEnter(QStringLiteral("album/inner"));
    ASSERT_TRUE(dialog());
    EXPECT_EQ(QDir::cleanPath(dialog()->directory().path()), inner);
    EXPECT_EQ(nameField()->text(), QStringLiteral("beach-cutout.png"));
    QTest::keyClick(nameField(), Qt::Key_Return);
    EXPECT_TRUE(savedTo(QDir(inner).filePath(QStringLiteral("beach-cutout.png"))));
    EXPECT_FALSE(QFileInfo::exists(QDir(album).filePath(QStringLiteral("inner.png"))));

    // The next dialog starts in Pictures again; the sidebar offers the last folder.
    exportAndOpenSaveDialog();
    EXPECT_EQ(QDir::cleanPath(dialog()->directory().path()), QDir::cleanPath(pictures));
    EXPECT_TRUE(dialog()->sidebarUrls().contains(QUrl::fromLocalFile(inner)));
}

TEST_F(FileDialogsTest, ReplacingAFileAsksFirst)
{
    const QString existing = writeImage(pictures, QStringLiteral("duck.png"));
    const qint64 before = QFileInfo(existing).size();
    openDocument();

    exportAndOpenSaveDialog();
    answerQuestionWith(QMessageBox::No);
    typeAndEnter(QStringLiteral("duck.png"));
    EXPECT_TRUE(question.contains(QStringLiteral("already exists")));
    ASSERT_TRUE(dialog());  // still choosing
    runner->runAll();
    EXPECT_EQ(QFileInfo(existing).size(), before);

    question.clear();
    answerQuestionWith(QMessageBox::Yes);
    typeAndEnter(QStringLiteral("duck.png"));
    EXPECT_FALSE(question.isEmpty());
    EXPECT_TRUE(savedTo(existing));
}

TEST_F(FileDialogsTest, ANameWithHashAndQuestionMarkSurvives)
{
    openDocument(QStringLiteral("photo #2?.png"));
    exportAndOpenSaveDialog();
    EXPECT_EQ(nameField()->text(), QStringLiteral("photo #2?-cutout.png"));
    QTest::keyClick(nameField(), Qt::Key_Return);
    EXPECT_TRUE(savedTo(QDir(pictures).filePath(QStringLiteral("photo #2?-cutout.png"))));
}

TEST_F(FileDialogsTest, AMissingPicturesFolderStartsInTheLastFolderOrHome)
{
    QDir(pictures).removeRecursively();
    openDocument();
    exportAndOpenSaveDialog();
    EXPECT_EQ(QDir::cleanPath(dialog()->directory().path()), QDir::cleanPath(home));
    typeAndEnter(QStringLiteral("first.png"));
    EXPECT_TRUE(savedTo(QDir(home).filePath(QStringLiteral("first.png"))));

    const QString elsewhere = makeFolder(QStringLiteral("elsewhere"));
    exportAndOpenSaveDialog();
    typeAndEnter(QStringLiteral("elsewhere/second.png"));
    EXPECT_TRUE(savedTo(QDir(elsewhere).filePath(QStringLiteral("second.png"))));
    exportAndOpenSaveDialog();
    EXPECT_EQ(QDir::cleanPath(dialog()->directory().path()), elsewhere);
}

TEST_F(FileDialogsTest, TheBatchImporterTakesManyFilesAtOnce)
{
    for (const char* name : {"a.png", "b.png", "c.png"})
        writeImage(pictures, QString::fromLatin1(name));
    editor->batch()->setShowImporter(true);
    ASSERT_TRUE(dialog());
    EXPECT_EQ(dialog()->fileMode(), QFileDialog::ExistingFiles);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fileList()->model()->rowCount(fileList()->rootIndex()) == 3; }, kPatienceMs));
    fileList()->setFocus();
    QTest::keyClick(fileList(), Qt::Key_A, Qt::ControlModifier);
    QTest::mouseClick(acceptButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog());
    EXPECT_FALSE(editor->batch()->showImporter());
    EXPECT_EQ(editor->batch()->total(), 3);

    // Cancelling adds nothing and lowers the flag.
    editor->batch()->setShowImporter(true);
    dialog()->reject();
    EXPECT_FALSE(editor->batch()->showImporter());
    EXPECT_EQ(editor->batch()->total(), 3);
}

TEST_F(FileDialogsTest, TheWindowImporterOpensOneFile)
{
    const QString picture = writeImage(pictures, QStringLiteral("dog.png"));
    commands->importDocument();
    ASSERT_TRUE(dialog());
    EXPECT_EQ(dialog()->fileMode(), QFileDialog::ExistingFile);
    typeAndEnter(QStringLiteral("dog.png"));
    EXPECT_FALSE(editor->showImporter());
    runner->settle();
    ASSERT_TRUE(editor->document());
    EXPECT_EQ(editor->document()->url, QUrl::fromLocalFile(picture));
}

TEST_F(FileDialogsTest, TheFolderChooserAcceptsTheFolderTheUserIsIn)
{
    const QString out = makeFolder(QStringLiteral("Pictures/out"));
    QList<QUrl> answer{QUrl(QStringLiteral("file:///unanswered"))};
    chooser.open(dialogplan::exportFolder(2, DialogFolders::ofThisUser({})),
                 [&](const QList<QUrl>& chosen) { answer = chosen; });
    ASSERT_TRUE(dialog());
    EXPECT_EQ(dialog()->windowTitle(), QStringLiteral("Choose a folder for the 2 cutouts."));
    EXPECT_EQ(acceptButton()->text(), QStringLiteral("Export Here"));
    enterFolder(QStringLiteral("out"));
    EXPECT_EQ(QDir::cleanPath(dialog()->directory().path()), out);
    QTest::mouseClick(acceptButton(), Qt::LeftButton);
    ASSERT_EQ(answer.size(), 1);
    EXPECT_EQ(QDir::cleanPath(answer.first().toLocalFile()), out);
}

// Closing a dialog, however it closes, gives the keyboard back to the
// window: without a window manager nothing else does, and Escape or a
// shortcut pressed next would reach nobody.
TEST_F(FileDialogsTest, TheWindowHasTheKeysBackOnceADialogCloses)
{
    QWindow window;
    window.resize(200, 100);
    window.show();
    window.requestActivate();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == &window; }, kPatienceMs));
    chooser.setWindow(&window);
    const QString picture = writeImage(pictures, QStringLiteral("dog.png"));
    for (const bool accepted : {false, true}) {
        chooser.open(dialogplan::importImage(DialogFolders::ofThisUser({})), [](const QList<QUrl>&) {});
        ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == dialog()->windowHandle(); }, kPatienceMs));
        if (accepted)
            typeAndEnter(picture);
        else
            dialog()->reject();
        EXPECT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == &window; }, kPatienceMs)) << accepted;
    }
}

} // namespace
} // namespace zephrin::testing
