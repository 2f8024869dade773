#include "app/shell/FileDialogPlan.h"

#include "pickers/BatchViewRules.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zephrin {

DialogFolders DialogFolders::ofThisUser(const QString& lastUsed)
{
    DialogFolders folders;
    folders.home = QDir::homePath();
    folders.pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    folders.desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    folders.lastUsed = lastUsed;
    folders.isFolder = [](const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); };
    return folders;
}

namespace dialogplan {

namespace {

QStringList imageFilters()
{
    return {QStringLiteral("Images (") + importableImagePatterns().join(u' ') + u')'};
}

} // namespace

QString startFolder(const DialogFolders& folders)
{
    // Qt's standard paths fall back to the home folder for a missing
    // Pictures folder on some systems; only a real one counts.
    if (folders.isFolder(folders.pictures) && QDir::cleanPath(folders.pictures) != QDir::cleanPath(folders.home))
        return folders.pictures;
    if (folders.isFolder(folders.lastUsed))
        return folders.lastUsed;
    return folders.home;
}

QStringList places(const DialogFolders& folders)
{
    QStringList list;
    for (const QString& folder : {folders.home, folders.pictures, folders.desktop, folders.lastUsed}) {
        const QString clean = QDir::cleanPath(folder);
        if (folders.isFolder(folder) && !list.contains(clean))
            list << clean;
    }
    return list;
}

FileDialogRequest importImage(const DialogFolders& folders)
{
    return {FileDialogRequest::Kind::openFile, QStringLiteral("Import Image"), {}, imageFilters(), {},
            startFolder(folders), {}, places(folders)};
}

FileDialogRequest addImages(const DialogFolders& folders)
{
    return {FileDialogRequest::Kind::openFiles, QStringLiteral("Add Images"), {}, imageFilters(), {},
            startFolder(folders), {}, places(folders)};
}

FileDialogRequest saveExport(const ExportFile& file, const DialogFolders& folders)
{
    const QString extension = file.fileExtension();
    const QString name = file.name.isEmpty() ? QStringLiteral("cutout") : file.name;
    return {FileDialogRequest::Kind::saveFile, QStringLiteral("Export"), {}, {formatFilter(file.format)}, extension,
            startFolder(folders), name + u'.' + extension, places(folders)};
}

FileDialogRequest exportFolder(int cutouts, const DialogFolders& folders)
{
    return {FileDialogRequest::Kind::chooseFolder, batchview::folderMessage(cutouts),
            QStringLiteral("Export Here"), {}, {}, startFolder(folders), {}, places(folders)};
}

QString formatFilter(ExportFormat format)
{
    switch (format) {
    case ExportFormat::png: return QStringLiteral("PNG image (*.png)");
    case ExportFormat::jpg: return QStringLiteral("JPG image (*.jpg *.jpeg)");
    case ExportFormat::webp: return QStringLiteral("WebP image (*.webp)");
    case ExportFormat::heic: return QStringLiteral("HEIC image (*.heic *.heif)");
    case ExportFormat::svg: return QStringLiteral("SVG drawing (*.svg)");
    }
    return QStringLiteral("PNG image (*.png)");
}

} // namespace dialogplan
} // namespace zephrin
