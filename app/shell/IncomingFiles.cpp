#include "app/shell/IncomingFiles.h"

#include "app/shell/DiscardedWork.h"
#include "model/editor/EditorState.h"
#include "share/inbox/InboxFolder.h"
#include "share/inbox/OriginalName.h"

#include <QFileInfo>

namespace zephrin {

namespace {

// Opens the file. One of the inbox is first moved out of it: the import reads
// it in the background, so it must not vanish under the reader, and it must
// not be offered again meanwhile. It is named after the file that was
// shared; the private copy goes once its picture is the document (one whose
// import another file replaced stays, and is offered again at the next start).
// The window shows the editor with the picture once it is open, also when the
// batch queue was in view; one that cannot be opened leaves the batch there.
void open(EditorState& editor, const QUrl& file)
{
    editor.setImportTarget(ImportTarget::document);
    EditorState::ImportOptions options;
    options.intoView = true;
    const QString path = file.toLocalFile();
    if (!isHandedOverPath(path)) {
        editor.importImage(file, options);
        return;
    }
    const std::optional<QString> taken = takeHandedOverFile(path);
    if (!taken) {
        editor.setLastError(QStringLiteral("Couldn't open the shared image."));
        return;
    }
    options.name = handedOverName(*taken);
    options.removeAfterReading = true;
    editor.importImage(QUrl::fromLocalFile(*taken), options);
}

} // namespace

QString handedOverName(const QString& takenFile)
{
    return originalName(takenFile).value_or(QStringLiteral("Shared image"));
}

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
    editor.setPendingIncomingURL(QUrl());
}

QString incomingReplaceDetail(const EditorState& editor)
{
    const QString path = editor.pendingIncomingURL().toLocalFile();
    return replaceDetail(documentWork(editor),
                         isHandedOverPath(path) ? originalName(path).value_or(QString()) : QFileInfo(path).fileName());
}

} // namespace zephrin
