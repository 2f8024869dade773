#include "app/shell/IncomingRoad.h"

#include "app/shell/WindowCommands.h"
#include "model/editor/EditorState.h"
#include "app/shell/IncomingFiles.h"
#include "share/inbox/InboxFolder.h"

#include <QDir>
#include <QUrl>

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
}

QStringList IncomingRoad::absoluteArguments(const QStringList& arguments, const QString& workingFolder)
{
    QStringList result;
    for (const QString& argument : arguments)
        result << (isUrl(argument) || argument.isEmpty() ? argument : QDir(workingFolder).absoluteFilePath(argument));
    return result;
}

bool IncomingRoad::openArguments(const QStringList& arguments)
{
    bool opened = false;
    for (const QString& argument : arguments) {
        if (argument.startsWith(QLatin1String("zephrin:"))) {
            if (const std::optional<QString> file = handOffFilePath(argument)) {
                handleIncomingURL(m_editor, QUrl::fromLocalFile(*file));
                opened = true;
            }
        } else if (argument.startsWith(QLatin1String("file:"))) {
            const QUrl url(argument);
            if (url.isLocalFile()) {
                m_commands.openFile(url);
                opened = true;
            }
        } else if (QDir::isAbsolutePath(argument)) {
            m_commands.openFile(QUrl::fromLocalFile(argument));
            opened = true;
        }
    }
    return opened;
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

} // namespace zephrin
