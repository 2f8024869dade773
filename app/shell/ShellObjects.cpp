#include "app/shell/ShellObjects.h"

#include "model/editor/EditorState.h"

#include <QQmlEngine>

namespace zephrin {

namespace {

void applyExportFormat(EditorState& editor, const AppSettings& settings)
{
    editor.setExportFormat(settings.exportFormatDefault());
    editor.batch()->setFormat(settings.exportFormatDefault());
}

void applyLongEdge(EditorState& editor, const AppSettings& settings)
{
    editor.setExportLongEdge(settings.longEdgeDefault());
    editor.batch()->setLongEdge(settings.longEdgeDefault());
}

} // namespace

ShellObjects::ShellObjects(EditorState& editor, const QString& settingsFile, bool isnetAvailable)
    : editor(editor), commands(editor), settings(settingsFile, isnetAvailable), incoming(editor, commands)
{
    applyExportFormat(editor, settings);
    applyLongEdge(editor, settings);
    QObject::connect(&settings, &AppSettings::defaultExportFormatChanged, &settings,
                     [this] { applyExportFormat(this->editor, settings); });
    QObject::connect(&settings, &AppSettings::defaultLongEdgeChanged, &settings,
                     [this] { applyLongEdge(this->editor, settings); });
}

void ShellObjects::registerForQml()
{
    qmlRegisterSingletonInstance("Zephrin.Model", 1, 0, "Editor", &editor);
    qmlRegisterSingletonInstance("Zephrin.Shell", 1, 0, "Commands", &commands);
    qmlRegisterSingletonInstance("Zephrin.Shell", 1, 0, "Settings", &settings);
    qmlRegisterSingletonInstance("Zephrin.Shell", 1, 0, "Incoming", &incoming);
    qmlRegisterSingletonInstance("Zephrin.Shell", 1, 0, "WindowFrame", &frame);
}

} // namespace zephrin
