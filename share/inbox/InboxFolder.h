#pragma once
// The inbox: "Zephrin/Inbox" in the user's data folder ($XDG_DATA_HOME,
// usually ~/.local/share), shared by zephrin-share, which writes into it, and
// the editor, which takes files out of it. It and "Zephrin/Incoming", where
// taken files go, are the user's alone (mode 0700, see PrivateFolder.h); the
// files in them are 0600. Only files whose names pass
// isInboxFileName and that are regular files (not links, not folders) count
// as waiting; nothing else in the folder is ever opened or deleted.

#include <QString>
#include <QStringList>

#include <optional>

namespace zephrin {

// The inbox folder, created when missing, or none when the user has no data
// folder or the inbox is not a folder of the user's own.
std::optional<QString> sharedInboxFolder();

// The path of the waiting file a hand-off URL names, or none when the URL is
// no hand-off (handOffFileName) or no such waiting file exists.
std::optional<QString> handOffFilePath(const QString& urlText);

// Whether `path` lies directly inside the inbox under a name zephrin-share
// gives; the file need not be there (any more). The user's own files never do.
bool isHandedOverPath(const QString& path);

// Whether `path` is a waiting file directly inside the inbox: such a path
// whose file is there.
bool isWaitingInboxFile(const QString& path);

// Every waiting file, oldest first by modification date (a file whose date
// cannot be read counts as the oldest; equal dates go by name).
QStringList waitingInboxFiles();

// Deletes a handed-over file: a single unlink, and only of a waiting file
// directly inside the inbox. Anything else is left alone; failures are silent.
void removeHandedOverFile(const QString& path);

// Takes a handed-over file out of the inbox for the editor to open: moves it
// into "Zephrin/Incoming" beside the inbox and returns its new path. The
// editor deletes it once its picture is the document; files taken earlier
// stay until then. None when `path` is no waiting file of the inbox or the
// move fails; the file then stays where it was.
std::optional<QString> takeHandedOverFile(const QString& path);

// The same rules over explicit folders (the functions above pass the inbox).
std::optional<QString> waitingFilePath(const QString& folder, const QString& name);
QStringList waitingFiles(const QString& folder);
void removeWaitingFile(const QString& folder, const QString& path);
std::optional<QString> takeWaitingFile(const QString& folder, const QString& path, const QString& takenFolder);

} // namespace zephrin
