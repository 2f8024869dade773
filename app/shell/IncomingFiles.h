#pragma once
// Opening a file as the document from outside the editor's own importer
// flow: a file that zephrin-share left in the inbox, a file named on the
// command line or by "Open With", dropped on the canvas or picked in the
// importer. When opening it would discard work (DiscardedWork.h), the file
// is parked in pendingIncomingURL while the window asks "Replace the current
// image?". A handed-over file leaves the inbox when it is opened, so it is
// opened once, and goes by the name it was shared under; declined, it stays
// (IncomingRoad queues it). The user's own files are only ever read.

#include <QString>
#include <QUrl>

namespace zephrin {

class EditorState;

// The name a handed-over document goes by: the shared file's own name where
// the hand-off recorded it, else "Shared image".
QString handedOverName(const QString& takenFile);

// Whether opening another image would throw work away.
bool hasWorkInProgress(const EditorState& editor);

// Opens a file as the document (switching the import target to it), or
// parks it and asks first. A waiting file of the inbox is taken out of the
// inbox when it is opened.
void openDocumentFile(EditorState& editor, const QUrl& file);
// The same for a file handed over through the inbox.
void handleIncomingURL(EditorState& editor, const QUrl& file);

// "Replace": opens the parked file. "Keep Working" (and every other way of
// closing the question): lets it go, deleting nothing; a waiting file of the
// inbox stays there. Both put the question away; neither does anything more
// when nothing is parked.
void confirmIncomingReplace(EditorState& editor);
void cancelIncomingReplace(EditorState& editor);

// The question's sentence for the parked file: what goes and what stays.
QString incomingReplaceDetail(const EditorState& editor);

} // namespace zephrin
