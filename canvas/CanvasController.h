#pragma once
// The canvas's input beyond plain pointer drags, windowless: where the shown
// image lies (the view mapping for the region's size and the editor's zoom,
// pan and composite frame), scroll-zoom about the pointer, pinch zoom, and
// the keys the canvas takes: Escape cancels what a tool has pending (and the
// drag in progress), Space held turns any tool into the pan tool.
//
// Each handler answers whether it consumed the input. The canvas item feeds
// it the window's events while the main canvas is on screen.

#include "canvas/CanvasGestures.h"
#include "canvas/ViewGeometry.h"

#include <QSizeF>

#include <optional>

namespace zephrin {

class EditorState;

// The pixel size of the image the canvas shows: the composite, else the
// cutout, else the document; empty without a document.
QSizeF shownImageSize(const EditorState& editor);

class CanvasController {
public:
    explicit CanvasController(EditorState& editor) : m_editor(editor), m_gestures(editor) {}

    EditorState& editor() const { return m_editor; }
    CanvasGestures& gestures() { return m_gestures; }

    // The size of the canvas region, in points.
    void setRegionSize(QSizeF size) { m_regionSize = size; }
    QSizeF regionSize() const { return m_regionSize; }
    ViewMapping mapping() const;
    // The mapping of the compare view, which leaves the pan out.
    ViewMapping compareMapping() const;

    // A key went down or up. `textEditing`: a text field has the focus, so
    // every key belongs to it.
    bool keyPressed(int key, bool autoRepeat, bool textEditing);
    bool keyReleased(int key, bool autoRepeat);
    // A vertical scroll at a point of the region: zooms about it.
    bool scrolled(QPointF region, double deltaY, bool precise);
    // A pinch: its magnification so far (1 at its start).
    void pinchChanged(double magnification);
    void pinchEnded();
    // The canvas stops taking keys (it left the screen, or the window lost the
    // focus): a held Space can no longer be released over it.
    void keysLost();

private:
    ViewMapping mappingWithPan(QSizeF pan) const;

    EditorState& m_editor;
    CanvasGestures m_gestures;
    QSizeF m_regionSize;
    std::optional<double> m_zoomAtPinchStart;
};

} // namespace zephrin
