#pragma once
// Showing files to the user in the desktop's file manager: a file is shown
// selected in its folder through the file manager's D-Bus interface
// (org.freedesktop.FileManager1.ShowItems); where no file manager answers,
// its folder is opened instead. Neither reports anything: the file manager
// shows what it shows.

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

namespace zephrin {

struct FileReveal {
    // Asks the file manager to show these file URIs; calls `done` with whether
    // it answered. Never blocks the caller.
    using ShowItems = std::function<void(const QStringList& uris, std::function<void(bool answered)> done)>;
    using OpenUrl = std::function<void(const QUrl& url)>;

    ShowItems showItems = dbusShowItems;
    OpenUrl openUrl = desktopOpenUrl;

    // Shows the file selected in its folder, or opens the folder.
    void revealFile(const QString& path) const;
    // Opens the folder itself.
    void openFolder(const QString& path) const;

    static void dbusShowItems(const QStringList& uris, std::function<void(bool)> done);
    static void desktopOpenUrl(const QUrl& url);
};

} // namespace zephrin
