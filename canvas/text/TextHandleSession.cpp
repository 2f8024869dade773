#include "canvas/text/TextHandleSession.h"

#include "canvas/text/TextHandleGeometry.h"
#include "model/editor/EditorState.h"

namespace zephrin {

std::optional<QSizeF> TextHandleSession::boxSize(QUuid id, QSizeF imageSize) const
{
    return m_editor.textBoxSize(id, imageSize.height());
}

QSizeF TextHandleSession::moveBox(QSizeF imageSize)
{
    // The layer does not change during a drag; its box only with the image.
    if (m_moveLayer && imageSize != m_boxImageSize) {
        if (const auto box = m_editor.textBoxSize(m_moving, imageSize.height()))
            m_box = *box;
        m_boxImageSize = imageSize;
    }
    return m_box;
}

QSizeF TextHandleSession::moveChanged(QUuid id, QPointF translation, QSizeF frame, QSizeF imageSize)
{
    if (startsMove(id)) {
        const auto layer = m_editor.textLayer(id);
        if (!layer)
            return {};
        m_moving = id;
        m_moveLayer = layer;
        m_boxImageSize = {};
        m_editor.setSelectedTextID(id);
        m_sprite = m_editor.textLayerSprite(id, imageSize);
        m_editor.setDraggingTextID(id);
    }
    const QPointF position(m_moveLayer->x, m_moveLayer->y);
    return texthandles::moveOffset(moveBox(imageSize), position, translation, frame, imageSize);
}

void TextHandleSession::moveEnded(QUuid id, QPointF translation, QSizeF frame, QSizeF imageSize)
{
    if (m_moving == id && m_moveLayer && m_editor.textLayer(id)) {
        const QPointF position(m_moveLayer->x, m_moveLayer->y);
        writeCentre(id, texthandles::movedCenter(moveBox(imageSize), position, translation, frame, imageSize));
    }
    m_editor.setDraggingTextID({});
    m_moving = {};
    m_moveLayer.reset();
    m_sprite.reset();
}

void TextHandleSession::resizeChanged(QUuid id, QPointF translation, QSizeF frame, QSizeF imageSize,
                                      bool keepProportion)
{
    const auto layer = m_editor.textLayer(id);
    if (!m_resizeStart) {
        if (!layer)
            return;
        m_resizeStart = QSizeF(layer->shapeW, layer->shapeH);
    }
    if (!layer)
        return;
    const QSizeF size = texthandles::resizedLabel(*m_resizeStart, translation, frame, imageSize, keepProportion);
    m_editor.updateTextLayer(id, [&](TextLayer& l) { l.shapeW = size.width(); });
    m_editor.updateTextLayer(id, [&](TextLayer& l) { l.shapeH = size.height(); });
}

void TextHandleSession::resizeEnded(QUuid id, QSizeF imageSize)
{
    m_resizeStart.reset();
    const auto layer = m_editor.textLayer(id);
    const auto box = m_editor.textBoxSize(id, imageSize.height());
    if (!layer || !box)
        return;
    writeCentre(id, texthandles::clampedCenter(*box, layer->x, layer->y, imageSize));
}

bool TextHandleSession::handleKey(int key, Qt::KeyboardModifiers modifiers, bool editingText, QSizeF imageSize)
{
    const QUuid selected = m_editor.selectedTextID();
    const auto layer = m_editor.textLayer(selected);
    const auto decision = texthandles::decideKey(key, modifiers, editingText,
                                                 m_editor.tool() == EditorTool::text, layer.has_value());
    switch (decision.action) {
    case texthandles::KeyAction::pass:
        return false;
    case texthandles::KeyAction::deselect:
        m_editor.setSelectedTextID({});
        return true;
    case texthandles::KeyAction::remove:
        m_editor.deleteTextLayer(selected);
        return true;
    case texthandles::KeyAction::nudge: {
        const QSizeF box = m_editor.textBoxSize(selected, imageSize.height()).value_or(QSizeF());
        writeCentre(selected, texthandles::nudgedCenter(box, {layer->x, layer->y}, decision.step, imageSize));
        return true;
    }
    }
    return false;
}

bool TextHandleSession::usesKey(int key, Qt::KeyboardModifiers modifiers, bool editingText) const
{
    const bool selected = m_editor.textLayer(m_editor.selectedTextID()).has_value();
    return texthandles::decideKey(key, modifiers, editingText, m_editor.tool() == EditorTool::text, selected).action !=
           texthandles::KeyAction::pass;
}

void TextHandleSession::writeCentre(QUuid id, QPointF centre)
{
    m_editor.updateTextLayer(id, [&](TextLayer& l) { l.x = centre.x(); });
    m_editor.updateTextLayer(id, [&](TextLayer& l) { l.y = centre.y(); });
}

} // namespace zephrin
