#include "canvas/CanvasOverlay.h"

#include "model/editor/EditorState.h"

#include <QPainter>

namespace zephrin {

CanvasOverlay::CanvasOverlay(QQuickItem* parent) : QQuickPaintedItem(parent)
{
    setAcceptedMouseButtons(Qt::NoButton);
    connect(this, &CanvasOverlay::colorsChanged, this, [this] { update(); });
}

void CanvasOverlay::setSurface(CanvasSurface* surface)
{
    if (surface == m_surface)
        return;
    if (m_surface)
        disconnect(m_surface, nullptr, this, nullptr);
    m_surface = surface;
    if (surface) {
        connect(surface, &CanvasSurface::mappingChanged, this, [this] { update(); });
        connect(surface, &CanvasSurface::effectiveToolChanged, this, [this] { update(); });
        connect(surface, &CanvasSurface::editorChanged, this, &CanvasOverlay::watchEditor);
    }
    watchEditor();
    emit surfaceChanged();
}

void CanvasOverlay::watchEditor()
{
    for (const auto& connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    auto* editor = m_surface ? qobject_cast<EditorState*>(m_surface->editorObject()) : nullptr;
    if (editor)
        for (auto signal : {&EditorState::liveStrokeChanged, &EditorState::pendingSelectionChanged,
                            &EditorState::pendingKindChanged, &EditorState::selectionKindChanged,
                            &EditorState::hoverPointChanged, &EditorState::gradientLineChanged,
                            &EditorState::gradientStartChanged, &EditorState::gradientEndChanged,
                            &EditorState::cropDraftChanged, &EditorState::brushSizeChanged,
                            &EditorState::brushTipChanged, &EditorState::paintColorChanged,
                            &EditorState::paintOpacityChanged})
            m_connections << connect(editor, signal, this, [this] { update(); });
    update();
}

void CanvasOverlay::paint(QPainter* painter)
{
    auto* editor = m_surface ? qobject_cast<EditorState*>(m_surface->editorObject()) : nullptr;
    if (!editor)
        return;
    const ViewMapping mapping = m_surface->mapping();
    // The surface and the overlay share the region's coordinates.
    painter->setClipRect(mapping.imageRect().intersected(QRectF(0, 0, width(), height())));
    painter->translate(mapping.origin);
    paintOverlay(*painter, OverlayInput::from(*editor, mapping, {m_accent, m_success, m_erase}));
}

} // namespace zephrin
