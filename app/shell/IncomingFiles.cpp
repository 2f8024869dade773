#include "app/shell/IncomingFiles.h"

#include "model/editor/EditorState.h"
#include "share/inbox/InboxFolder.h"
#include "share/inbox/OriginalName.h"

namespace zephrin {

namespace {

// Moves the file out of the inbox and opens it from there: the import reads
// it in the background, so it must not vanish under the reader, and it must
// not be offered again meanwhile. The document is named after the file that
// was shared; the private copy goes once the import has read it.
void openFromInbox(EditorState& editor, const QUrl& file)
{
    const std::optional<QString> taken = takeHandedOverFile(file.toLocalFile());
    if (!taken) {
        editor.setLastError(QStringLiteral("Couldn't open the shared image."), ErrorTopic::open);
        return;
    }
    editor.importImage(QUrl::fromLocalFile(*taken), {handedOverName(*taken), true});
}

} // namespace

QString handedOverName(const QString& takenFile)
{
    return originalName(takenFile).value_or(QStringLiteral("Shared image"));
}

bool hasWorkInProgress(const EditorState& editor)
{
    if (!editor.document())
        return false;
    return editor.comp() != EditorState::defaultCompositeSettings() || !editor.maskOps().empty()
           || !editor.paintOps().empty() || editor.undoCount() > 0 || editor.redoCount() > 0;
}

void handleIncomingURL(EditorState& editor, const QUrl& file)
{
    editor.setImportTarget(ImportTarget::document);
    if (hasWorkInProgress(editor)) {
        editor.setPendingIncomingURL(file);
        editor.setShowIncomingReplaceConfirm(true);
        return;
    }
    openFromInbox(editor, file);
}

void confirmIncomingReplace(EditorState& editor)
{
    editor.setShowIncomingReplaceConfirm(false);
    const QUrl parked = editor.pendingIncomingURL();
    if (parked.isEmpty())
        return;
    editor.setPendingIncomingURL(QUrl());
    openFromInbox(editor, parked);
}

void cancelIncomingReplace(EditorState& editor)
{
    editor.setShowIncomingReplaceConfirm(false);
    const QUrl parked = editor.pendingIncomingURL();
    if (!parked.isEmpty())
        removeHandedOverFile(parked.toLocalFile());
    editor.setPendingIncomingURL(QUrl());
}

} // namespace zephrin
