// What the file dialogs ask for: where they start, what they offer, and the
// name the save dialog suggests.

#include "app/shell/FileDialogPlan.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zephrin {
namespace {

DialogFolders foldersWith(const QSet<QString>& existing, const QString& lastUsed = {})
{
    DialogFolders folders;
    folders.home = QStringLiteral("/home/ann");
    folders.pictures = QStringLiteral("/home/ann/Pictures");
    folders.desktop = QStringLiteral("/home/ann/Desktop");
    folders.lastUsed = lastUsed;
    folders.isFolder = [existing](const QString& path) { return existing.contains(path); };
    return folders;
}

TEST(FileDialogPlan, StartsInPicturesElseTheLastFolderElseHome)
{
    const QString home = QStringLiteral("/home/ann");
    const QString pictures = QStringLiteral("/home/ann/Pictures");
    const QString last = QStringLiteral("/media/usb/out");
    const struct {
        QSet<QString> existing;
        QString lastUsed;
        QString start;
    } cases[] = {
        {{home, pictures, last}, last, pictures},
        {{home, last}, last, last},              // no Pictures on a fresh account
        {{home}, last, home},                    // the last folder is gone
        {{home}, {}, home},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dialogplan::startFolder(foldersWith(c.existing, c.lastUsed)), c.start) << c.start.toStdString();

    // Pictures that is the home folder itself is no Pictures folder.
    DialogFolders same = foldersWith({home, last}, last);
    same.pictures = home;
    EXPECT_EQ(dialogplan::startFolder(same), last);
}

// Only folders of files: the kernel's and the devices' hold files whose
// reading never ends or waits for input.
TEST(FileDialogPlan, OpensOnlyInPlainFolders)
{
    QTemporaryDir temporary;
    const QString folder = temporary.filePath(QStringLiteral("album"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString link = temporary.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(folder, link));
    QFile file(temporary.filePath(QStringLiteral("photo.png")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const struct {
        QString path;
        bool plain;
    } cases[] = {
        {folder, true},
        {link, true},
        {file.fileName(), false},
        {temporary.filePath(QStringLiteral("missing")), false},
        {QString(), false},
        {QStringLiteral("/proc"), false},
        {QStringLiteral("/proc/self"), false},
        {QStringLiteral("/sys"), false},
        {QStringLiteral("/dev"), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isPlainFolder(c.path), c.plain) << c.path.toStdString();
}

TEST(FileDialogPlan, TheSidebarOffersTheFoldersThatExistOnce)
{
    const DialogFolders folders = foldersWith({QStringLiteral("/home/ann"), QStringLiteral("/home/ann/Pictures")},
                                              QStringLiteral("/home/ann/Pictures/"));
    EXPECT_EQ(dialogplan::places(folders), (QStringList{QStringLiteral("/home/ann"), QStringLiteral("/home/ann/Pictures")}));
}

TEST(FileDialogPlan, EachDialogAsksForWhatItsCommandTakes)
{
    const DialogFolders folders = foldersWith({QStringLiteral("/home/ann")});
    using Kind = FileDialogRequest::Kind;
    EXPECT_EQ(dialogplan::importImage(folders).kind, Kind::openFile);
    EXPECT_EQ(dialogplan::addImages(folders).kind, Kind::openFiles);
    EXPECT_TRUE(dialogplan::addImages(folders).nameFilters.first().contains(QStringLiteral("*.heic")));

    const FileDialogRequest save =
        dialogplan::saveExport(ExportFile{{}, ExportFormat::jpg, QStringLiteral("photo #2?-cutout"), std::nullopt}, folders);
    EXPECT_EQ(save.kind, Kind::saveFile);
    EXPECT_EQ(save.fileName, QStringLiteral("photo #2?-cutout.jpg"));
    EXPECT_EQ(save.extensions, (QStringList{QStringLiteral("jpg"), QStringLiteral("jpeg")}));
    EXPECT_EQ(save.nameFilters, QStringList{QStringLiteral("JPG image (*.jpg *.jpeg)")});
    EXPECT_EQ(save.folder, QStringLiteral("/home/ann"));

    const FileDialogRequest folder = dialogplan::exportFolder(4, folders);
    EXPECT_EQ(folder.kind, Kind::chooseFolder);
    EXPECT_EQ(folder.acceptLabel, QStringLiteral("Export Here"));
    EXPECT_EQ(folder.title, QStringLiteral("Choose a folder for the 4 cutouts."));
}

} // namespace
} // namespace zephrin
