#include "app/shell/FileDialogs.h"

#include "app/shell/AppSettings.h"
#include "app/shell/FileChooser.h"
#include "app/shell/FileDialogPlan.h"
#include "app/shell/WindowCommands.h"
#include "model/editor/EditorState.h"

#include <QFileInfo>

namespace zephrin {

FileDialogs::FileDialogs(EditorState& editor, WindowCommands& commands, AppSettings& settings, FileChooser& chooser,
                         QObject* parent)
    : QObject(parent), m_editor(editor), m_commands(commands), m_settings(settings), m_chooser(chooser)
{
    connect(&editor, &EditorState::showImporterChanged, this, [this] {
        if (m_editor.showImporter())
            openImporter();
    });
    connect(&editor, &EditorState::showFileExporterChanged, this, [this] {
        if (m_editor.showFileExporter())
            openExporter();
    });
    BatchState* batch = editor.batch();
    connect(batch, &BatchState::showImporterChanged, this, [this] {
        if (m_editor.batch()->showImporter())
            openBatchImporter();
    });
    connect(batch, &BatchState::showFolderChooserChanged, this, [this] {
        if (m_editor.batch()->showFolderChooser())
            openBatchFolder();
    });
}

DialogFolders FileDialogs::folders() const
{
    return DialogFolders::ofThisUser(m_settings.lastFolder());
}

void FileDialogs::remember(const QList<QUrl>& chosen, bool isFolder)
{
    if (chosen.isEmpty() || !chosen.first().isLocalFile())
        return;
    const QFileInfo info(chosen.first().toLocalFile());
    m_settings.setLastFolder(isFolder ? info.absoluteFilePath() : info.absolutePath());
}

void FileDialogs::openImporter()
{
    m_chooser.open(dialogplan::importImage(folders()), [this](const QList<QUrl>& chosen) {
        remember(chosen, false);
        m_commands.importerClosed(chosen.isEmpty() ? QUrl() : chosen.first());
    });
}

void FileDialogs::openExporter()
{
    const std::optional<ExportFile>& file = m_editor.exportFile();
    if (!file) {
        m_commands.exporterClosed(QUrl());
        return;
    }
    m_chooser.open(dialogplan::saveExport(*file, folders()), [this](const QList<QUrl>& chosen) {
        remember(chosen, false);
        m_commands.exporterClosed(chosen.isEmpty() ? QUrl() : chosen.first());
    });
}

void FileDialogs::openBatchImporter()
{
    m_chooser.open(dialogplan::addImages(folders()), [this](const QList<QUrl>& chosen) {
        remember(chosen, false);
        BatchState* batch = m_editor.batch();
        batch->setShowImporter(false);
        batch->add(chosen);
    });
}

void FileDialogs::openBatchFolder()
{
    BatchState* batch = m_editor.batch();
    m_chooser.open(dialogplan::exportFolder(batch->doneCount(), folders()), [this](const QList<QUrl>& chosen) {
        remember(chosen, true);
        BatchState* batch = m_editor.batch();
        batch->setShowFolderChooser(false);
        if (!chosen.isEmpty())
            batch->saveAll(chosen.first());
    });
}

} // namespace zephrin
