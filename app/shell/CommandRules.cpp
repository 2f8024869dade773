#include "app/shell/CommandRules.h"

namespace zephrin {

CommandStates commandStates(const EditorFacts& facts)
{
    CommandStates states;
    states.canExport = facts.hasCutout;
    states.canClear = facts.hasDocument;
    states.canCopyResult = facts.hasCutout;
    states.canRunCutout = facts.hasDocument && !facts.isProcessing;
    states.canReset = facts.hasCutout && !facts.compIsDefault;
    states.canUndo = facts.hasUndo;
    states.canRedo = facts.hasRedo;
    // The View menu acts on the canvas, which batch mode does not show.
    states.canCompare = facts.hasCutout && !facts.batchMode;
    states.canZoom = !facts.batchMode;
    // In sheet mode the button exports the sheet, which needs a finished render.
    states.exportButtonEnabled = facts.sheetMode ? facts.hasSheetRender && !facts.isProcessing : facts.hasCutout;
    return states;
}

} // namespace zephrin
