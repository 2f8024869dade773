#include "app/shell/IncomingRoad.h"

#include "app/shell/WindowCommands.h"
#include "model/editor/EditorState.h"
#include "app/shell/IncomingFiles.h"
#include "output/service/NativePath.h"
#include "share/inbox/InboxFolder.h"

#include <QDir>
#include <QFile>
#include <QUrl>

#include <filesystem>

namespace zephrin {

namespace {

bool isUrl(const QString& argument)
{
    return argument.startsWith(QLatin1String("zephrin:")) || argument.startsWith(QLatin1String("file:"))
           || argument.contains(QLatin1String("://"));
}

} // namespace

IncomingRoad::IncomingRoad(EditorState& editor, WindowCommands& commands, QObject* parent)
    : QObject(parent), m_editor(editor), m_commands(commands)
{
    connect(&editor, &EditorState::showIncomingReplaceConfirmChanged, this, &IncomingRoad::replaceDetailChanged);
    connect(&editor, &EditorState::pendingIncomingURLChanged, this, &IncomingRoad::replaceDetailChanged);
}

QStringList IncomingRoad::absoluteArguments(const QStringList& arguments, const QString& workingFolder)
{
    QStringList result;
    for (const QString& argument : arguments)
        result << (isUrl(argument) || argument.isEmpty() ? argument : QDir(workingFolder).absoluteFilePath(argument));
    return result;
}

QString IncomingRoad::launchArgument(const QByteArray& argument)
{
    const std::filesystem::path path = argument.toStdString();
    if (isTextPath(path))
        return QFile::decodeName(argument);
    std::error_code error;
    return fileUrl(std::filesystem::absolute(path, error).lexically_normal()).toString(QUrl::FullyEncoded);
}

bool IncomingRoad::openArguments(const QStringList& arguments)
{
    bool opened = false;
    QList<QUrl> files;
    for (const QString& argument : arguments) {
        if (argument.startsWith(QLatin1String("zephrin:"))) {
            if (const std::optional<QString> file = handOffFilePath(argument)) {
                handleIncomingURL(m_editor, QUrl::fromLocalFile(*file));
                opened = true;
            }
        } else if (argument.startsWith(QLatin1String("file:"))) {
            const QUrl url(argument);
            if (url.isLocalFile())
                files << url;
        } else if (QDir::isAbsolutePath(argument)) {
            files << QUrl::fromLocalFile(argument);
        }
    }
    if (!files.isEmpty())
        m_commands.openFiles(files);
    return opened || !files.isEmpty();
}

void IncomingRoad::openForwardedLaunch(const QStringList& arguments)
{
    if (!openArguments(arguments))
        openWaitingInboxFile();
}

bool IncomingRoad::openWaitingInboxFile()
{
    const std::optional<QString> file = newestInboxFile();
    if (file)
        handleIncomingURL(m_editor, QUrl::fromLocalFile(*file));
    return file.has_value();
}

void IncomingRoad::confirmReplace()
{
    confirmIncomingReplace(m_editor);
}

void IncomingRoad::cancelReplace()
{
    cancelIncomingReplace(m_editor);
}

QString IncomingRoad::replaceDetail() const
{
    return m_editor.showIncomingReplaceConfirm() ? incomingReplaceDetail(m_editor) : QString();
}

} // namespace zephrin
