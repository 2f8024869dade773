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
    connect(&editor, &EditorState::exportSaved, this,
            [this](const QString& path) { m_settings.setLastFolder(QFileInfo(path).absolutePath()); });
    connect(batch, &BatchState::saveFinished, this, [this](int written, int, const QString& folder) {
        if (written > 0)
            m_settings.setLastFolder(QFileInfo(folder).absoluteFilePath());
    });
}

DialogFolders FileDialogs::folders() const
{
    return DialogFolders::ofThisUser(m_settings.lastFolder());
}

void FileDialogs::rememberOpened(const QList<QUrl>& chosen)
{
    if (!chosen.isEmpty() && chosen.first().isLocalFile())
        m_settings.setLastFolder(QFileInfo(chosen.first().toLocalFile()).absolutePath());
}

void FileDialogs::openImporter()
{
    m_chooser.open(dialogplan::importImage(folders()), [this](const QList<QUrl>& chosen) {
        rememberOpened(chosen);
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
    const FileDialogRequest request = dialogplan::saveExport(*file, folders());
    m_chooser.open(request, [this, extensions = request.extensions](const QList<QUrl>& chosen) {
        if (chosen.isEmpty() || !chosen.first().isLocalFile()) {
            m_commands.exporterClosed(chosen.isEmpty() ? QUrl() : chosen.first());
            return;
        }
        // A chooser that added no extension of the format asked about the
        // name it answered, not about this one: a file of this name stays.
        const QString answered = chosen.first().toLocalFile();
        const QString named = withExtension(answered, extensions);
        m_commands.exporterClosed(QUrl::fromLocalFile(named), named == answered);
    });
}

void FileDialogs::openBatchImporter()
{
    m_chooser.open(dialogplan::addImages(folders()), [this](const QList<QUrl>& chosen) {
        rememberOpened(chosen);
        BatchState* batch = m_editor.batch();
        batch->setShowImporter(false);
        batch->add(chosen);
    });
}

void FileDialogs::openBatchFolder()
{
    BatchState* batch = m_editor.batch();
    m_chooser.open(dialogplan::exportFolder(batch->doneCount(), folders()), [this](const QList<QUrl>& chosen) {
        BatchState* batch = m_editor.batch();
        batch->setShowFolderChooser(false);
        if (!chosen.isEmpty())
            batch->saveAll(chosen.first());
    });
}

} // namespace zephrin
