#pragma once
// What an action would throw away of the user's work, and the sentence that
// says so (the "Line art" preset's colour key by that name: the user drew
// nothing). Opening another image as the document keeps the composite
// settings, text layers, backdrop and cutout settings (they carry over) and
// drops the edits, the undo history and a matte made by hand; clearing drops
// everything of the document; quitting drops all of that and a sticker sheet
// and batch results that no file holds yet; clearing the batch or the sheet
// drops what of them no file holds. The window asks before any of them
// throws work away.

#include <QString>

namespace zephrin {

class EditorState;

// The open document's work; all empty without a document.
struct DocumentWork {
    bool lineArtKey = false;      // the "Line art" preset's colour key heads the mask list
    int maskEdits = 0;            // the user's mask operations, in force or undone
    int paintEdits = 0;           // paint operations, in force or undone
    bool history = false;         // steps to undo or redo
    bool selectionCut = false;    // the matte was cut from the user's selection
    bool tunedKey = false;        // the matte is a flat-colour key the user tuned
    int textLayers = 0;           // text and shape layers
    bool backdrop = false;        // a background other than transparency
    bool otherComposite = false;  // the picture’s other settings: effects, adjustments, colour, framing
    bool cutoutSettings = false;  // refinement settings other than the defaults (Fill holes, feather, …)

    // What opening another image would lose (the composite carries over).
    bool lostByReplacing() const;
    // What clearing would lose.
    bool lostByClearing() const;
};

DocumentWork documentWork(const EditorState& editor);

// "Opening “NAME” discards your mask edits and the undo history. The text
// layer, the background and your cutout settings carry over." `incomingName`
// empty: "the shared image".
QString replaceDetail(const DocumentWork& work, const QString& incomingName);
// "Clearing discards your paint, 2 text layers and the undo history."
QString clearDetail(const DocumentWork& work);

// What quitting would lose: the sticker sheet and batch results that exist
// only in memory, and shared images the batch holds whose only copy is the
// editor's (shared from standard input, or whose file is gone since).
struct UnsavedResults {
    bool sheet = false;
    int batchResults = 0;   // results the batch shows as done that no file holds
    int sharedImages = 0;   // queued hand-offs without their original

    bool any() const { return sheet || batchResults > 0 || sharedImages > 0; }
};

UnsavedResults unsavedResults(const EditorState& editor);
// "The sticker sheet and 3 batch results are not saved in any file. Quitting
// discards them."; with work in the document, that first: "Quitting discards
// your paint and the undo history. The sticker sheet is not saved in any
// file either; quitting discards it too."
QString quitDetail(const DocumentWork& work, const UnsavedResults& results);
// "3 batch results are not saved in any file. Clearing discards them." (the
// batch's results and shared images, or the sticker sheet, alone)
QString clearResultsDetail(const UnsavedResults& results);

} // namespace zephrin
