// EditorState: adding, reshaping, duplicating and deleting text and label
// layers. Every change is one write of comp (a shape change one write per
// field), whose hook redraws only the layers over the composite base.

#include "model/editor/EditorState.h"

#include "engine/shapes/ShapeKit.h"
#include "model/editor/EditorStateWork.h"

#include <algorithm>

namespace zephrin {

void EditorState::appendTextLayer(const TextLayer& layer)
{
    CompositeSettings settings = m_comp;
    settings.texts.append(layer);
    setComp(settings);
    setSelectedTextID(layer.id);
}

void EditorState::addTextLayer()
{
    TextLayer layer = TextLayer::makeDefault();
    layer.y = std::min(0.15 + 0.12 * double(m_comp.texts.size()), 0.85);
    appendTextLayer(layer);
}

void EditorState::addShapeLayer(const QString& kindID)
{
    const auto kind = ShapeKit::kind(kindID);
    if (!kind)
        return;
    TextLayer layer = TextLayer::makeDefault();
    layer.shape = kind->id;
    layer.text = kind->word;
    layer.color = {1, 1, 1, 1};
    layer.shapeW = kind->w;
    layer.shapeH = kind->h;
    layer.x = 0.5;
    layer.y = 0.5;
    // A label never wider than 80 % of the picture, proportions kept.
    if (m_composite && m_composite->image().height() >= 1) {
        const double limit = 0.8 * double(m_composite->image().width()) / m_composite->image().height();
        if (kind->w > limit) {
            layer.shapeW *= limit / kind->w;
            layer.shapeH *= limit / kind->w;
        }
    }
    appendTextLayer(layer);
}

void EditorState::applyShapeToSelectedLayer(const QString& kindID)
{
    const auto kind = ShapeKit::kind(kindID);
    const auto found = std::find_if(m_comp.texts.begin(), m_comp.texts.end(),
                                    [&](const TextLayer& l) { return l.id == m_selectedTextID; });
    if (!kind || m_selectedTextID.isNull() || found == m_comp.texts.end())
        return;
    const TextLayer layer = *found;
    const qsizetype index = found - m_comp.texts.begin();
    const HistoryGroup step(*this);
    const auto current = ShapeKit::kind(layer.shape);
    const double scale = current && current->h > 0 ? layer.shapeH / current->h : 1.0;

    const auto write = [this, index](auto change) {
        CompositeSettings settings = m_comp;
        if (index < settings.texts.size()) {
            change(settings.texts[index]);
            setComp(settings);
        }
    };
    const auto& kinds = ShapeKit::kinds();
    if (std::any_of(kinds.begin(), kinds.end(), [&](const ShapeKit::Kind& k) { return k.word == layer.text; }))
        write([&](TextLayer& l) { l.text = kind->word; });
    write([&](TextLayer& l) { l.shape = kind->id; });
    write([&](TextLayer& l) { l.shapeW = kind->w * scale; });
    write([&](TextLayer& l) { l.shapeH = kind->h * scale; });
}

void EditorState::duplicateTextLayer(QUuid id)
{
    const auto found =
        std::find_if(m_comp.texts.begin(), m_comp.texts.end(), [&](const TextLayer& l) { return l.id == id; });
    if (id.isNull() || found == m_comp.texts.end())
        return;
    TextLayer copy = *found;
    copy.id = QUuid::createUuid();
    copy.x = std::min(copy.x + 0.04, 0.95);
    copy.y = std::min(copy.y + 0.04, 0.95);
    appendTextLayer(copy);
}

// The selection clears at once and the layer goes 60 ms later (the canvas lets
// its handles go first). The selection then returns to the one remembered, if
// that layer still exists, else to the last remaining layer.
void EditorState::deleteTextLayer(QUuid id)
{
    const QUuid remembered = m_selectedTextID == id ? QUuid() : m_selectedTextID;
    setSelectedTextID({});
    m_runner->after(std::chrono::milliseconds(60), this, [this, id, remembered] {
        CompositeSettings settings = m_comp;
        settings.texts.removeIf([&](const TextLayer& l) { return l.id == id; });
        setComp(settings);
        const auto& texts = m_comp.texts;
        const bool stillThere = !remembered.isNull() && std::any_of(texts.begin(), texts.end(), [&](const TextLayer& l) {
                                    return l.id == remembered;
                                });
        setSelectedTextID(stillThere ? remembered : texts.isEmpty() ? QUuid() : texts.back().id);
    });
}

} // namespace zephrin
