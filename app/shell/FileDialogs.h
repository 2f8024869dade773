#pragma once
// The window's file dialogs, opened when the editor raises their flags: the
// importer (showImporter), the save dialog of an export (showFileExporter),
// the batch's many-file importer (batch.showImporter) and Export All's
// folder (batch.showFolderChooser). Each answer goes where the flag's owner
// expects it, and the flag is lowered however the dialog closes. A save's
// name gets its format's extension whichever chooser answered. The folder of
// a file opened is remembered for the next dialog, that of a save only once
// something was written there (a folder that failed is no place to start).

#include <QObject>
#include <QList>
#include <QUrl>

namespace zephrin {

class AppSettings;
class EditorState;
class FileChooser;
class WindowCommands;
struct DialogFolders;

class FileDialogs : public QObject {
    Q_OBJECT

public:
    FileDialogs(EditorState& editor, WindowCommands& commands, AppSettings& settings, FileChooser& chooser,
                QObject* parent = nullptr);

private:
    void openImporter();
    void openExporter();
    void openBatchImporter();
    void openBatchFolder();
    DialogFolders folders() const;
    // Remembers the folder of the first file opened.
    void rememberOpened(const QList<QUrl>& chosen);

    EditorState& m_editor;
    WindowCommands& m_commands;
    AppSettings& m_settings;
    FileChooser& m_chooser;
};

} // namespace zephrin
