#include "app/shell/ShellObjects.h"

#include "model/editor/EditorState.h"

#include <QQmlEngine>

namespace zephrin {

ShellObjects::ShellObjects(EditorState& editor, const QString& settingsFile, bool isnetAvailable)
    : editor(editor), commands(editor), settings(settingsFile, isnetAvailable), incoming(editor, commands)
{
}

void ShellObjects::registerForQml()
{
    qmlRegisterSingletonInstance("Zephrin.Model", 1, 0, "Editor", &editor);
    qmlRegisterSingletonInstance("Zephrin.Shell", 1, 0, "Commands", &commands);
    qmlRegisterSingletonInstance("Zephrin.Shell", 1, 0, "Settings", &settings);
    qmlRegisterSingletonInstance("Zephrin.Shell", 1, 0, "Incoming", &incoming);
}

} // namespace zephrin
