#pragma once
// Showing files to the user in the desktop's file manager: a file is shown
// selected in its folder through the file manager's D-Bus interface
// (org.freedesktop.FileManager1.ShowItems, sent by dbus-send); where no file
// manager answers, its folder is opened instead, with the desktop's opener
// (xdg-open). Both run as helper programs, never holding the GUI thread, and
// say afterwards, on the caller's thread, whether something showed the folder,
// so that the caller can tell the user when nothing could.

#include "model/editor/NoticeKind.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <chrono>
#include <functional>

namespace zephrin {

class EditorState;

struct FileReveal {
    using Done = std::function<void(bool shown)>;
    // Asks the file manager to show these file URIs; calls `done` with whether
    // it answered. Never blocks the caller.
    using ShowItems = std::function<void(const QStringList& uris, Done done)>;
    // Opens the URL with the desktop's opener; calls `done` with whether it
    // could. Never blocks the caller.
    using OpenUrl = std::function<void(const QUrl& url, Done done)>;

    // How long the file manager has to answer, reaching the bus included: a
    // bus that never answers counts as no file manager once it is up.
    static constexpr std::chrono::milliseconds kCallTimeout{5000};

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

// The answer for a file or folder the user asked to see: where nothing showed
// it, the editor's notice says `text`, which names `path` in full, and offers
// to copy the path; `kind` says whether that notice tells of a failure.
FileReveal::Done offerPathWhenNotShown(EditorState* editor, const QString& text, const QString& path,
                                       NoticeKind kind);

} // namespace zephrin
