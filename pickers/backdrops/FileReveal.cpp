#include "pickers/backdrops/FileReveal.h"

#include "model/editor/EditorState.h"

#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QTimer>

#include <memory>
#include <optional>
#include <utility>

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

namespace {

void answerOnce(FileReveal::Done& done, bool shown)
{
    if (done)
        std::exchange(done, nullptr)(shown);
}

// Runs a desktop helper without waiting for it: `done` hears once, on this
// thread, whether it exited with success. One still running after `limit`
// (when there is one) is stopped and counts as a failure.
void runHelper(const QString& program, const QStringList& arguments,
               std::optional<std::chrono::milliseconds> limit, FileReveal::Done done)
{
    auto* helper = new QProcess;
    helper->setProgram(program);
    helper->setArguments(arguments);
    helper->setStandardOutputFile(QProcess::nullDevice());
    helper->setStandardErrorFile(QProcess::nullDevice());
    auto answer = std::make_shared<FileReveal::Done>(std::move(done));
    // A start that failed or an exit ends the run; the time limit may come first.
    QObject::connect(helper, &QProcess::errorOccurred, helper, [helper, answer](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        answerOnce(*answer, false);
        helper->deleteLater();
    });
    QObject::connect(helper, &QProcess::finished, helper, [helper, answer](int code, QProcess::ExitStatus status) {
        answerOnce(*answer, status == QProcess::NormalExit && code == 0);
        helper->deleteLater();
    });
    if (limit)
        QTimer::singleShot(*limit, helper, [helper, answer] {
            answerOnce(*answer, false);
            helper->kill();
        });
    helper->start();
}

} // namespace

// The call goes through dbus-send rather than a connection of our own: the
// first connection to the session bus waits for the bus without a time limit
// (a bus that takes the connection and never answers holds it for good, and
// every later use of the bus in the process with it), where a helper process
// can simply be stopped.
void FileReveal::dbusShowItems(const QStringList& uris, Done done)
{
    // dbus-send splits an array's items at commas; in a URI "%2C" says the same.
    QStringList items;
    for (const QString& uri : uris)
        items << QString(uri).replace(u',', QStringLiteral("%2C"));
    runHelper(QStringLiteral("dbus-send"),
              {QStringLiteral("--session"), QStringLiteral("--print-reply"),
               QStringLiteral("--reply-timeout=%1").arg(kCallTimeout.count()),
               QStringLiteral("--dest=org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
               QStringLiteral("org.freedesktop.FileManager1.ShowItems"),
               QStringLiteral("array:string:") + items.join(u','), QStringLiteral("string:")},
              kCallTimeout, std::move(done));
}

void FileReveal::desktopOpenUrl(const QUrl& url, Done done)
{
    runHelper(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)}, std::nullopt, std::move(done));
}

FileReveal::Done offerPathWhenNotShown(EditorState* editor, const QString& text, const QString& path,
                                       NoticeKind kind)
{
    return [editor = QPointer(editor), text, path, kind](bool shown) {
        if (!shown && editor)
            editor->showPathNotice(text, path, kind);
    };
}

} // namespace zephrin
