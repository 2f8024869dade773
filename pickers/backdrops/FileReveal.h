#pragma once
// Showing files to the user in the desktop's file manager: a file is shown
// selected in its folder through the file manager's D-Bus interface
// (org.freedesktop.FileManager1.ShowItems); where no file manager answers,
// its folder is opened instead, with the desktop's opener (xdg-open). Both
// say afterwards whether something showed the folder, so that the caller can
// tell the user when nothing could.

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

namespace zephrin {

struct FileReveal {
    using Done = std::function<void(bool shown)>;
    // Asks the file manager to show these file URIs; calls `done` with whether
    // it answered. Never blocks the caller.
    using ShowItems = std::function<void(const QStringList& uris, Done done)>;
    // Opens the URL with the desktop's opener; calls `done` with whether it
    // could. Never blocks the caller.
    using OpenUrl = std::function<void(const QUrl& url, Done done)>;

    ShowItems showItems = dbusShowItems;
    OpenUrl openUrl = desktopOpenUrl;

    // Shows the file selected in its folder, or opens the folder.
    void revealFile(const QString& path, Done done) const;
    // Opens the folder itself.
    void openFolder(const QString& path, Done done) const;

    static void dbusShowItems(const QStringList& uris, Done done);
    // Runs xdg-open: it fails (exits with a non-zero status) when no program
    // on the desktop can open the URL, where Qt's own opening reports success
    // as soon as the opener has started.
    static void desktopOpenUrl(const QUrl& url, Done done);
};

} // namespace zephrin
