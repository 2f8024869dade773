#pragma once
// What each file dialog of the window asks: its kind, title, accept button,
// file types, the folder it starts in and the name it suggests. Pure values,
// made from the editor's state; FileChooser shows them, FileDialogs decides
// when.

#include "model/editor/ExportFile.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace zephrin {

struct FileDialogRequest {
    enum class Kind {
        openFile,      // one existing file
        openFiles,     // one or more existing files
        saveFile,      // a name to write under; replacing a file asks first
        chooseFolder,  // an existing folder, also the one the user is in
    };
    Kind kind = Kind::openFile;
    QString title;
    QString acceptLabel;     // empty: the dialog's own ("Open", "Save")
    QStringList nameFilters; // "Images (*.png *.jpg …)"
    QStringList extensions;  // saveFile: the format's ("jpg", "jpeg"); the first is added to a name that ends in none
    QString folder;          // where it starts; always a plain folder (isPlainFolder)
    QString fileName;        // the suggested name (saveFile)
    QStringList places;      // the folders its sidebar offers

    friend bool operator==(const FileDialogRequest&, const FileDialogRequest&) = default;
};

// The user's standard folders as the dialogs see them.
struct DialogFolders {
    QString home;
    QString pictures;   // ~/Pictures, whether it exists or not
    QString desktop;
    QString lastUsed;   // the folder of the last file opened, file saved or folder exported to; empty: none
    std::function<bool(const QString&)> isFolder;   // whether a dialog may open a path (isPlainFolder)

    // The user's folders on this machine, with the last used one.
    static DialogFolders ofThisUser(const QString& lastUsed);
};

// Whether a dialog may open in `path`: a folder (or a link to one) that can
// be listed, on a file system of files. The kernel's own file systems (/proc,
// /sys, …) and the devices of /dev are none: listing them reads files that
// never end or wait for input.
bool isPlainFolder(const QString& path);

// A name saved in a format: as it stands when it ends in one of the format's
// extensions (any letter case), else with the first added ("logo v1.2" →
// "logo v1.2.png", "duck.jpg" → "duck.jpg.png"). Paths keep their folder.
QString withExtension(const QString& name, const QStringList& extensions);

namespace dialogplan {

// Where a dialog starts: ~/Pictures when it exists, else the last used
// folder when it still exists, else the home folder.
QString startFolder(const DialogFolders& folders);
// The sidebar: home, Pictures, Desktop and the last used folder, those that
// exist, each once.
QStringList places(const DialogFolders& folders);

// The window's importer ("Import Image…", the backdrop's import): one file.
FileDialogRequest importImage(const DialogFolders& folders);
// The batch's "Add Images…" and "Import Multiple…": many files at once.
FileDialogRequest addImages(const DialogFolders& folders);
// The save dialog of an export: the file's name with its format's extension.
FileDialogRequest saveExport(const ExportFile& file, const DialogFolders& folders);
// Export All's folder: "Choose a folder for the N cutouts.", "Export Here".
FileDialogRequest exportFolder(int cutouts, const DialogFolders& folders);

// The file-type filter of a format: "PNG image (*.png)", "JPG image (*.jpg *.jpeg)".
QString formatFilter(ExportFormat format);
// The extensions of a format's files, the usual one first: "jpg", "jpeg".
QStringList formatExtensions(ExportFormat format);

} // namespace dialogplan
} // namespace zephrin
