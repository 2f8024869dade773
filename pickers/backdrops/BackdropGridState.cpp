#include "pickers/backdrops/BackdropGridState.h"

#include "model/editor/EditorState.h"

namespace zephrin {

QString selectedTileID(const QString& backdropID, bool hasBackgroundImage, const QString& prefix)
{
    if (!hasBackgroundImage || backdropID.isEmpty() || !backdropID.startsWith(prefix))
        return {};
    return backdropID.mid(prefix.size());
}

BackdropGridState::BackdropGridState(QString prefix, QObject* parent) : QObject(parent), m_prefix(std::move(prefix))
{
}

QObject* BackdropGridState::editorObject() const
{
    return m_editor;
}

void BackdropGridState::setEditorObject(QObject* object)
{
    auto* editor = qobject_cast<EditorState*>(object);
    if (editor == m_editor)
        return;
    if (m_editor)
        disconnect(m_editor, nullptr, this, nullptr);
    m_editor = editor;
    if (editor) {
        connect(editor, &EditorState::backdropIDChanged, this, &BackdropGridState::updateSelection);
        connect(editor, &EditorState::backgroundImageChanged, this, &BackdropGridState::updateSelection);
    }
    emit editorChanged();
    updateSelection();
}

void BackdropGridState::updateSelection()
{
    const QString id = m_editor ? selectedTileID(m_editor->backdropID(), m_editor->hasBackgroundPicture(), m_prefix)
                                : QString();
    if (id == m_selectedID)
        return;
    m_selectedID = id;
    emit selectedIDChanged();
}

} // namespace zephrin
