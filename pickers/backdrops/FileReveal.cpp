#include "pickers/backdrops/FileReveal.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QFileInfo>

namespace zephrin {

void FileReveal::revealFile(const QString& path) const
{
    const QFileInfo file(path);
    const QUrl folder = QUrl::fromLocalFile(file.absolutePath());
    showItems({QUrl::fromLocalFile(file.absoluteFilePath()).toString(QUrl::FullyEncoded)},
              [open = openUrl, folder](bool answered) {
                  if (!answered)
                      open(folder);
              });
}

void FileReveal::openFolder(const QString& path) const
{
    openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

void FileReveal::dbusShowItems(const QStringList& uris, std::function<void(bool)> done)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        done(false);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << uris << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 5000));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [done = std::move(done)](QDBusPendingCallWatcher* finished) {
                         done(!finished->isError());
                         finished->deleteLater();
                     });
}

void FileReveal::desktopOpenUrl(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}

} // namespace zephrin
