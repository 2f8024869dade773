// What the file dialogs ask for: where they start, what they offer, and the
// name the save dialog suggests.

#include "app/shell/FileDialogPlan.h"

#include <QSet>

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
        dialogplan::saveExport(ExportFile{{}, ExportFormat::jpg, QStringLiteral("photo #2?-cutout")}, folders);
    EXPECT_EQ(save.kind, Kind::saveFile);
    EXPECT_EQ(save.fileName, QStringLiteral("photo #2?-cutout.jpg"));
    EXPECT_EQ(save.defaultSuffix, QStringLiteral("jpg"));
    EXPECT_EQ(save.nameFilters, QStringList{QStringLiteral("JPG image (*.jpg *.jpeg)")});
    EXPECT_EQ(save.folder, QStringLiteral("/home/ann"));

    const FileDialogRequest folder = dialogplan::exportFolder(4, folders);
    EXPECT_EQ(folder.kind, Kind::chooseFolder);
    EXPECT_EQ(folder.acceptLabel, QStringLiteral("Export Here"));
    EXPECT_EQ(folder.title, QStringLiteral("Choose a folder for the 4 cutouts."));
}

} // namespace
} // namespace zephrin
