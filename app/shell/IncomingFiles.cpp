#include "app/shell/IncomingFiles.h"

#include "app/shell/DiscardedWork.h"
#include "model/editor/EditorState.h"
#include "share/inbox/InboxFolder.h"

#include <QFileInfo>

namespace zephrin {

namespace {

// A waiting file directly inside the inbox; the user's own files never are.
bool isHandedOver(const QString& path)
{
    const std::optional<QString> folder = sharedInboxFolder();
    if (!folder || path.isEmpty())
        return false;
    const std::optional<QString> waiting = waitingFilePath(*folder, QFileInfo(path).fileName());
    return waiting && QFileInfo(*waiting).absoluteFilePath() == QFileInfo(path).absoluteFilePath();
}

// Opens the file. One of the inbox is first moved out of it: the import reads
// it in the background, so it must not vanish under the reader, and it must
// not be offered again meanwhile.
void open(EditorState& editor, const QUrl& file)
{
    editor.setImportTarget(ImportTarget::document);
    const QString path = file.toLocalFile();
    if (!isHandedOver(path)) {
        editor.importImage(file);
        return;
    }
    if (const std::optional<QString> taken = takeHandedOverFile(path))
        editor.importImage(QUrl::fromLocalFile(*taken));
}

} // namespace

bool hasWorkInProgress(const EditorState& editor)
{
    return documentWork(editor).lostByReplacing();
}

void openDocumentFile(EditorState& editor, const QUrl& file)
{
    editor.setImportTarget(ImportTarget::document);
    if (hasWorkInProgress(editor)) {
        editor.setPendingIncomingURL(file);
        editor.setShowIncomingReplaceConfirm(true);
        return;
    }
    open(editor, file);
}

void handleIncomingURL(EditorState& editor, const QUrl& file)
{
    openDocumentFile(editor, file);
}

void confirmIncomingReplace(EditorState& editor)
{
    editor.setShowIncomingReplaceConfirm(false);
    const QUrl parked = editor.pendingIncomingURL();
    if (parked.isEmpty())
        return;
    editor.setPendingIncomingURL(QUrl());
    open(editor, parked);
}

void cancelIncomingReplace(EditorState& editor)
{
    editor.setShowIncomingReplaceConfirm(false);
    const QUrl parked = editor.pendingIncomingURL();
    if (!parked.isEmpty() && isHandedOver(parked.toLocalFile()))
        removeHandedOverFile(parked.toLocalFile());
    editor.setPendingIncomingURL(QUrl());
}

QString incomingReplaceDetail(const EditorState& editor)
{
    const QString path = editor.pendingIncomingURL().toLocalFile();
    return replaceDetail(documentWork(editor), isHandedOver(path) ? QString() : QFileInfo(path).fileName());
}

} // namespace zephrin
