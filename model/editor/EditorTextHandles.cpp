// EditorState: one text layer addressed by its id, for the views that edit a
// layer directly (the canvas's handles, the font picker): reading it, changing
// it in one write of comp, and its box and sprite through the engines.

#include "model/editor/EditorState.h"

#include "model/engines/EditorEngines.h"

#include <algorithm>

namespace zephrin {

std::optional<TextLayer> EditorState::textLayer(QUuid id) const
{
    if (id.isNull())
        return std::nullopt;
    const auto& texts = m_comp.texts;
    const auto found = std::find_if(texts.begin(), texts.end(), [&](const TextLayer& l) { return l.id == id; });
    if (found == texts.end())
        return std::nullopt;
    return *found;
}

bool EditorState::updateTextLayer(QUuid id, const std::function<void(TextLayer&)>& change)
{
    if (id.isNull())
        return false;
    CompositeSettings settings = m_comp;
    for (TextLayer& layer : settings.texts) {
        if (layer.id != id)
            continue;
        change(layer);
        setComp(settings);
        return true;
    }
    return false;
}

std::optional<QSizeF> EditorState::textBoxSize(QUuid id, double imageHeight) const
{
    const auto layer = textLayer(id);
    if (!layer)
        return std::nullopt;
    return m_engines->textBoxSize(*layer, imageHeight);
}

std::optional<Image> EditorState::textLayerSprite(QUuid id, QSizeF imageSize) const
{
    const auto layer = textLayer(id);
    if (!layer)
        return std::nullopt;
    return m_engines->renderTextLayer(*layer, imageSize.width(), imageSize.height(), m_comp.mirror);
}

} // namespace zephrin
