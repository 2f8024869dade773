#include "pickers/backdrops/FileReveal.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QProcess>

namespace zephrin {

void FileReveal::revealFile(const QString& path, Done done) const
{
    const QFileInfo file(path);
    const QUrl folder = QUrl::fromLocalFile(file.absolutePath());
    showItems({QUrl::fromLocalFile(file.absoluteFilePath()).toString(QUrl::FullyEncoded)},
              [open = openUrl, folder, done = std::move(done)](bool answered) {
                  if (answered)
                      done(true);
                  else
                      open(folder, done);
              });
}

void FileReveal::openFolder(const QString& path, Done done) const
{
    openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()), std::move(done));
}

void FileReveal::dbusShowItems(const QStringList& uris, Done done)
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

void FileReveal::desktopOpenUrl(const QUrl& url, Done done)
{
    auto* opener = new QProcess;
    opener->setProgram(QStringLiteral("xdg-open"));
    opener->setArguments({url.toString(QUrl::FullyEncoded)});
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    // Exactly one of the two ends the run: a start that failed, or an exit.
    QObject::connect(opener, &QProcess::errorOccurred, opener, [opener, done](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        done(false);
        opener->deleteLater();
    });
    QObject::connect(opener, &QProcess::finished, opener, [opener, done](int code, QProcess::ExitStatus status) {
        done(status == QProcess::NormalExit && code == 0);
        opener->deleteLater();
    });
    opener->start();
}

} // namespace zephrin
