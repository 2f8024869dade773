#pragma once
// The editor's side of the inbox hand-off: a file that zephrin-share left in
// the inbox is opened as the document, or, when opening it would discard
// work, parked in pendingIncomingURL while the window asks "Replace the
// current image?". A file leaves the inbox when it is opened or declined, so
// it is opened once.

#include <QString>
#include <QUrl>

namespace zephrin {

class EditorState;

// The name a handed-over document goes by: the shared file's own name where
// the hand-off recorded it, else "Shared image".
QString handedOverName(const QString& takenFile);

// Whether opening another image would throw work away: a document is open
// and its composite settings differ from the plain cutout's, or it has mask
// or paint edits, or history to undo or redo.
bool hasWorkInProgress(const EditorState& editor);

// Receives a waiting file (a local file URL in the inbox): switches the import
// target to the document, then opens the file, or parks it and asks first.
void handleIncomingURL(EditorState& editor, const QUrl& file);

// "Replace": opens the parked file. "Keep Working" (and every other way of
// closing the question): deletes the parked file from the inbox. Both put the
// question away; neither does anything more when nothing is parked.
void confirmIncomingReplace(EditorState& editor);
void cancelIncomingReplace(EditorState& editor);

} // namespace zephrin
