#include "app/shell/FileDialogPlan.h"

#include "output/service/OutputFile.h"
#include "pickers/BatchViewRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace zephrin {

bool isPlainFolder(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir() || !info.isReadable() || !info.isExecutable())
        return false;
    if (onKernelFileSystem(QFile::encodeName(path).toStdString()))
        return false;
    // /dev is a memory file system like any other; its files are devices.
    const QString real = info.canonicalFilePath();
    return real != QLatin1String("/dev") && !real.startsWith(QLatin1String("/dev/"));
}

QString withExtension(const QString& name, const QStringList& extensions)
{
    if (extensions.isEmpty())
        return name;
    const QString suffix = QFileInfo(name).suffix();
    if (!suffix.isEmpty() && extensions.contains(suffix, Qt::CaseInsensitive))
        return name;
    // "logo." wants its extension after the dot it has.
    return name + (name.endsWith(u'.') ? QString() : QStringLiteral(".")) + extensions.first();
}

DialogFolders DialogFolders::ofThisUser(const QString& lastUsed)
{
    DialogFolders folders;
    folders.home = QDir::homePath();
    folders.pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    folders.desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    folders.lastUsed = lastUsed;
    folders.isFolder = isPlainFolder;
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
    const QString name = file.name.isEmpty() ? QStringLiteral("cutout") : file.name;
    return {FileDialogRequest::Kind::saveFile, QStringLiteral("Export"), {}, {formatFilter(file.format)},
            formatExtensions(file.format), startFolder(folders), name + u'.' + file.fileExtension(), places(folders)};
}

FileDialogRequest exportFolder(int cutouts, const DialogFolders& folders)
{
    return {FileDialogRequest::Kind::chooseFolder, batchview::folderMessage(cutouts),
            QStringLiteral("Export Here"), {}, {}, startFolder(folders), {}, places(folders)};
}

QString formatFilter(ExportFormat format)
{
    QStringList patterns;
    for (const QString& extension : formatExtensions(format))
        patterns << QStringLiteral("*.") + extension;
    const QString kind = format == ExportFormat::svg ? QStringLiteral("drawing") : QStringLiteral("image");
    return QStringLiteral("%1 %2 (%3)").arg(rawValue(format), kind, patterns.join(u' '));
}

QStringList formatExtensions(ExportFormat format)
{
    switch (format) {
    case ExportFormat::png: return {QStringLiteral("png")};
    case ExportFormat::jpg: return {QStringLiteral("jpg"), QStringLiteral("jpeg")};
    case ExportFormat::webp: return {QStringLiteral("webp")};
    case ExportFormat::heic: return {QStringLiteral("heic"), QStringLiteral("heif")};
    case ExportFormat::svg: return {QStringLiteral("svg")};
    }
    return {QStringLiteral("png")};
}

} // namespace dialogplan
} // namespace zephrin
