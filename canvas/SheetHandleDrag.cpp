#include "canvas/SheetHandleDrag.h"

#include "canvas/SheetCanvasGeometry.h"
#include "model/editor/EditorState.h"

#include <QLineF>

#include <utility>

namespace zephrin {

SheetHandleDrag::SheetHandleDrag(QObject* parent) : QObject(parent) {}

void SheetHandleDrag::setEditor(EditorState* editor)
{
    if (editor == m_editor)
        return;
    if (m_editor)
        disconnect(m_editor, nullptr, this, nullptr);
    m_editor = editor;
    if (editor) {
        connect(editor, &EditorState::sheetRenderStampChanged, this, &SheetHandleDrag::endWaiting);
        connect(editor, &EditorState::sheetLayoutPendingChanged, this, &SheetHandleDrag::onLayoutPendingChanged);
    }
    emit editorChanged();
}

void SheetHandleDrag::setPlacement(const QVariantMap& value)
{
    if (value == m_placement)
        return;
    m_placement = value;
    emit placementChanged();
}

void SheetHandleDrag::setPointsPerInch(double value)
{
    if (value == m_pointsPerInch)
        return;
    m_pointsPerInch = value;
    emit pointsPerInchChanged();
}

QPointF SheetHandleDrag::offset() const
{
    return m_pending.value_or(m_drag);
}

void SheetHandleDrag::press(QPointF position)
{
    m_pressedAt = position;
    m_dragging = false;
}

void SheetHandleDrag::move(QPointF position)
{
    if (!m_pressedAt)
        return;
    const QPointF translation = position - *m_pressedAt;
    if (!m_dragging && QLineF(QPointF(), translation).length() < kMinimumDistance)
        return;
    m_dragging = true;
    m_drag = translation;
    emit stateChanged();
}

bool SheetHandleDrag::release(QPointF position)
{
    if (!m_pressedAt)
        return false;
    move(position);
    const bool dragged = m_dragging;
    const QPointF translation = m_drag;
    m_pressedAt.reset();
    m_dragging = false;
    m_drag = QPointF();

    bool accepted = false;
    if (dragged && m_editor) {
        const HeldDrop drop{m_placement.value(QStringLiteral("key")).toString(),
                            droppedCorner(placementInches(m_placement), translation, m_pointsPerInch)};
        if (m_editor->sheetLayoutPending()) {
            m_held = drop;
            m_pending = translation;
        } else {
            accepted = m_editor->moveStickerPin(drop.key, drop.corner);
            // Waiting only makes sense while the layout the pin started runs.
            if (accepted && m_editor->sheetLayoutPending())
                m_pending = translation;
        }
    }
    emit stateChanged();
    return accepted;
}

void SheetHandleDrag::cancel()
{
    m_pressedAt.reset();
    m_dragging = false;
    m_drag = QPointF();
    emit stateChanged();
}

void SheetHandleDrag::endWaiting()
{
    // A held drop waits on until its layout is over, not just rendered.
    if (!m_pending || m_held)
        return;
    m_pending.reset();
    emit stateChanged();
}

void SheetHandleDrag::onLayoutPendingChanged()
{
    if (!m_editor || m_editor->sheetLayoutPending())
        return;
    if (const std::optional<HeldDrop> drop = std::exchange(m_held, std::nullopt)) {
        // Pinning starts the next layout, which the sticker waits for in turn.
        if (m_editor->moveStickerPin(drop->key, drop->corner) && m_editor->sheetLayoutPending())
            return;
    }
    endWaiting();
}

} // namespace zephrin
