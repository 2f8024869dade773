#pragma once
// When the window's commands can be used: the menus, the toolbar and the
// export button all decide from these rules, so the same command is never
// enabled in one place and not in another.

namespace zephrin {

// What the rules look at, read from the editor.
struct EditorFacts {
    bool hasDocument = false;
    bool hasCutout = false;
    bool isProcessing = false;
    bool compIsDefault = true;   // comp equals the plain cutout's settings
    bool hasUndo = false;
    bool hasRedo = false;
    bool sheetMode = false;      // the sticker-sheet tool is chosen
    // A sheet render that may be exported: one exists and no layout is
    // pending or has failed since (EditorState::sheetExportable).
    bool hasSheetRender = false;
    bool batchMode = false;      // the batch grid and panel stand in for the canvas

    friend bool operator==(const EditorFacts&, const EditorFacts&) = default;
};

struct CommandStates {
    bool canExport = false;          // "Export…"
    bool canClear = false;           // "Clear Image"
    bool canCopyResult = false;      // "Copy Result", the toolbar's copy
    bool canRunCutout = false;       // "Run Cutout"
    bool canReset = false;           // "Reset to Plain Cutout"
    bool canUndo = false;
    bool canRedo = false;
    bool canCompare = false;         // "Show/Hide Compare", the compare switch
    bool canZoom = false;            // the zoom items of the View menu
    bool exportButtonEnabled = false;  // the export split button

    friend bool operator==(const CommandStates&, const CommandStates&) = default;
};

CommandStates commandStates(const EditorFacts& facts);

} // namespace zephrin
