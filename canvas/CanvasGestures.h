#pragma once
// What a pointer does on the canvas, per tool: pans, brush strokes, selections
// (create, move, reshape by a handle, the outline's clicks), the gradient
// line, the crop box and colour picks. Windowless: the canvas item hands it
// press, move and release in points of the canvas region with the mapping of
// the moment, and it writes the editor. Every point it stores is a document
// pixel; lengths the user feels (the click threshold, the handle radius) are
// view points.
//
// A press is a click only while the pointer stays within kClickDistance of
// where it went down; a loop that ends where it began is a drag.
//
// A drag keeps the tool it began with. cancel() (Escape) ends the drag in
// progress without its effect: a pan goes back, a stroke is dropped, and the
// rest of that drag, its release included, is ignored.

#include "canvas/ViewGeometry.h"
#include "model/editor/EditorEnums.h"

#include <QPointF>
#include <QRectF>

#include <optional>
#include <vector>

namespace zephrin {

class EditorState;

// The tool the pointer acts with: pan while Space is held, else the canvas tool.
CanvasTool effectiveTool(const EditorState& editor);

// Whether a press on the image may carry the result out: with the view tool,
// but not under the text tool's handles, which take every press.
bool dragOutOffered(const EditorState& editor);

class CanvasGestures {
public:
    // What a selection drag does: reshape by handle `handle`, nothing, draw a
    // new selection, move the pending one, or draw the gradient line.
    enum class SelectionDrag { none, handle, create, move, line };
    // What a crop drag does: move corner `handle` (0 top-left, 1 top-right,
    // 2 bottom-left, 3 bottom-right), nothing, draw a new box, move the box.
    enum class CropDrag { none, corner, create, move };

    static constexpr double kHandleRadius = 10;  // view points
    static constexpr double kClickDistance = 3;  // view points
    static constexpr double kMinimumBox = 2;     // document pixels

    explicit CanvasGestures(EditorState& editor) : m_editor(editor) {}

    // A press on the image starts a drag (it counts as its first change).
    void press(QPointF region, const ViewMapping& mapping);
    void move(QPointF region, const ViewMapping& mapping);
    void release(QPointF region, const ViewMapping& mapping);
    // A double-click, which Qt delivers as press, release, press, double-click,
    // release: it ends an outline in progress, or toggles the pan tool. The
    // drag its second press began ends without its effect, so the release
    // neither throws the closed outline away nor adds a stroke or a corner.
    // An outline whose one corner is the first click's counts as none.
    void doubleClick();
    // The pointer over the image (none: it left).
    void hover(std::optional<QPointF> region, const ViewMapping& mapping);
    // Ends the drag in progress without its effect; false when none runs.
    bool cancel();

    bool dragging() const { return m_tool.has_value(); }
    SelectionDrag selectionDrag() const { return m_selDrag; }
    CropDrag cropDrag() const { return m_cropDrag; }
    int handle() const { return m_handle; }

    // The box of a selection reshaped by dragging handle `handle` of `start` by
    // `delta` (document pixels): the moved edges, flipped past the opposite
    // edge, never below 2 × 2.
    static QRectF reshapedBox(const QRectF& start, int handle, QPointF delta);
    // The crop box dragged in `mode` from `start` to `current`, held to
    // `ratio` (width wins) when creating or moving a corner.
    static QRectF croppedBox(CropDrag mode, int corner, const QRectF& start, QPointF from, QPointF to,
                             std::optional<double> ratio);

private:
    void changed(QPointF region, const ViewMapping& mapping);
    void beginSelection(QPointF start, const ViewMapping& mapping);
    void beginCrop(QPointF start, const ViewMapping& mapping);
    void changeSelection(QPointF start, QPointF current);
    // `spanned`: how far the release lies from the press; `click`: whether the
    // pointer stayed within the click distance of the press all along.
    void endSelection(QPointF current, double spanned, bool click);
    void reset();

    EditorState& m_editor;
    std::optional<CanvasTool> m_tool;  // the drag's tool while one runs
    bool m_ignoring = false;           // a cancelled drag, until its release
    QPointF m_startRegion;
    double m_farthest = 0;             // view points from the press, the most so far
    QPointF m_start;                   // document pixels
    bool m_begun = false;
    bool m_outlineStartedByClick = false;  // the last click placed an outline's first corner
    QSizeF m_panStart;
    SelectionDrag m_selDrag = SelectionDrag::none;
    CropDrag m_cropDrag = CropDrag::none;
    int m_handle = -1;
    std::vector<QPointF> m_selStartPoints;
    QRectF m_selStartBox;
    QRectF m_cropStartRect;
};

} // namespace zephrin
