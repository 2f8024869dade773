#pragma once
// The editor's own vocabularies. Raw values are the labels the pickers, menus
// and segmented controls show, in the order of the cases, and the form in which
// QML reads and writes them.

#include "engine/types/RawEnum.h"

namespace zephrin {

// How the subject is cut out.
enum class CutoutMethod { autoSubject, flat };

constexpr RawValues<CutoutMethod, 2> rawValues(CutoutMethod)
{
    return {{
        {CutoutMethod::autoSubject, u"Auto Subject"},
        {CutoutMethod::flat, u"Flat Color"},
    }};
}

// What a pointer drag on the canvas does.
enum class CanvasTool { view, pan, erase, restore, select, paint, gradient, crop, eyedropper };

constexpr RawValues<CanvasTool, 9> rawValues(CanvasTool)
{
    return {{
        {CanvasTool::view, u"View"},
        {CanvasTool::pan, u"Pan"},
        {CanvasTool::erase, u"Erase"},
        {CanvasTool::restore, u"Restore"},
        {CanvasTool::select, u"Select"},
        {CanvasTool::paint, u"Paint"},
        {CanvasTool::gradient, u"Gradient"},
        {CanvasTool::crop, u"Crop"},
        {CanvasTool::eyedropper, u"Pick color"},
    }};
}

// The sidebar's tools; each shows its own inspector panel.
enum class EditorTool { cutout, background, effects, adjust, text, resize, sheet };

constexpr RawValues<EditorTool, 7> rawValues(EditorTool)
{
    return {{
        {EditorTool::cutout, u"cutout"},
        {EditorTool::background, u"background"},
        {EditorTool::effects, u"effects"},
        {EditorTool::adjust, u"adjust"},
        {EditorTool::text, u"text"},
        {EditorTool::resize, u"resize"},
        {EditorTool::sheet, u"sheet"},
    }};
}

// Whether the panel of a side-panel tool offers a canvas tool: the cutout
// panel its hand refine tools and the colour picker, the adjust panel (with
// its colour section) paint, gradient and select, the resize panel the crop.
// View and pan belong to every panel.
constexpr bool offersCanvasTool(EditorTool panel, CanvasTool tool)
{
    switch (tool) {
    case CanvasTool::view:
    case CanvasTool::pan: return true;
    case CanvasTool::erase:
    case CanvasTool::restore:
    case CanvasTool::eyedropper: return panel == EditorTool::cutout;
    case CanvasTool::select: return panel == EditorTool::cutout || panel == EditorTool::adjust;
    case CanvasTool::paint:
    case CanvasTool::gradient: return panel == EditorTool::adjust;
    case CanvasTool::crop: return panel == EditorTool::resize;
    }
    return false;
}

// What the next file import is for.
enum class ImportTarget { document, background };

constexpr RawValues<ImportTarget, 2> rawValues(ImportTarget)
{
    return {{
        {ImportTarget::document, u"document"},
        {ImportTarget::background, u"background"},
    }};
}

// Where an export goes: the save dialog (files and photos alike) or a file
// prepared for sharing.
enum class ExportDestination { files, photos, share };

constexpr RawValues<ExportDestination, 3> rawValues(ExportDestination)
{
    return {{
        {ExportDestination::files, u"files"},
        {ExportDestination::photos, u"photos"},
        {ExportDestination::share, u"share"},
    }};
}

// How the matte in force was made: by a run on the whole picture, cut from
// the user's selection, or keyed again after the user tuned a flat-colour
// setting. The last two are work a new document would throw away.
enum class MatteOrigin { automatic, selection, tunedKey };

} // namespace zephrin
