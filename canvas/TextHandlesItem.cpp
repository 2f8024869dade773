#include "canvas/TextHandlesItem.h"

#include "canvas/text/TextHandleGeometry.h"
#include "model/editor/EditorState.h"

#include <QKeyEvent>
#include <QQuickWindow>

namespace zephrin {

namespace {

QUuid uuid(const QString& id)
{
    return QUuid::fromString(id);
}

} // namespace

TextHandlesItem::TextHandlesItem(QQuickItem* parent) : QQuickItem(parent) { m_gate.setArea(this, this); }

void TextHandlesItem::setInputArea(QQuickItem* area)
{
    if (m_gate.setArea(area, this))
        emit inputAreaChanged();
}

TextHandlesItem::~TextHandlesItem()
{
    if (m_filteredWindow)
        m_filteredWindow->removeEventFilter(this);
}

void TextHandlesItem::setEditor(EditorState* editor)
{
    if (editor == m_editor)
        return;
    m_editor = editor;
    m_session = editor ? std::make_unique<TextHandleSession>(*editor) : nullptr;
    emit editorChanged();
}

void TextHandlesItem::setFrame(QSizeF frame)
{
    if (frame == m_frame)
        return;
    m_frame = frame;
    emit frameChanged();
}

void TextHandlesItem::setImageSize(QSizeF size)
{
    if (size == m_imageSize)
        return;
    m_imageSize = size;
    emit imageSizeChanged();
}

QString TextHandlesItem::spriteID() const
{
    const QUuid id = m_session ? m_session->movingID() : QUuid();
    return id.isNull() ? QString() : id.toString(QUuid::WithoutBraces);
}

QSizeF TextHandlesItem::handleSize(const QString& id) const
{
    const auto box = m_session ? m_session->boxSize(uuid(id), shownImageSize()) : std::nullopt;
    return texthandles::handleBoxSize(box.value_or(QSizeF()), texthandles::viewScale(m_frame, shownImageSize()));
}

QSizeF TextHandlesItem::spriteSize() const
{
    const double scale = texthandles::viewScale(m_frame, shownImageSize());
    return QSizeF(m_spriteImage.size()) * scale;
}

void TextHandlesItem::tap(const QString& id)
{
    if (!m_editor)
        return;
    takeFocus();
    m_editor->setSelectedTextID(uuid(id));
}

void TextHandlesItem::clearSelection()
{
    takeFocus();
    if (m_editor)
        m_editor->setSelectedTextID({});
}

QSizeF TextHandlesItem::moveChanged(const QString& id, double dx, double dy)
{
    if (!m_session)
        return {};
    const bool starts = m_session->startsMove(uuid(id));
    if (starts)
        takeFocus();
    const QSizeF offset = m_session->moveChanged(uuid(id), {dx, dy}, m_frame, shownImageSize());
    if (starts)
        publishSprite();
    return offset;
}

void TextHandlesItem::moveEnded(const QString& id, double dx, double dy)
{
    if (!m_session)
        return;
    m_session->moveEnded(uuid(id), {dx, dy}, m_frame, shownImageSize());
    publishSprite();
}

void TextHandlesItem::resizeChanged(const QString& id, double dx, double dy, bool keepProportion)
{
    if (!m_session)
        return;
    if (m_session->startsResize())
        takeFocus();
    m_session->resizeChanged(uuid(id), {dx, dy}, m_frame, shownImageSize(), keepProportion);
}

void TextHandlesItem::resizeEnded(const QString& id)
{
    if (m_session)
        m_session->resizeEnded(uuid(id), shownImageSize());
}

bool TextHandlesItem::handleKey(int key, int modifiers)
{
    return m_session && m_session->handleKey(key, Qt::KeyboardModifiers(modifiers), isEditingText(), shownImageSize());
}

bool TextHandlesItem::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_filteredWindow)
        m_gate.observe(*event);
    const bool keyEvent = event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress;
    if (watched == m_filteredWindow && m_session && keyEvent && m_gate.takesKeys()) {
        auto* key = static_cast<QKeyEvent*>(event);
        // A key the handles use is claimed before any shortcut can take it.
        if (event->type() == QEvent::ShortcutOverride &&
            m_session->usesKey(key->key(), key->modifiers(), isEditingText())) {
            event->accept();
            return true;
        }
        if (event->type() == QEvent::KeyPress && handleKey(key->key(), int(key->modifiers())))
            return true;
    }
    return QQuickItem::eventFilter(watched, event);
}

void TextHandlesItem::itemChange(ItemChange change, const ItemChangeData& data)
{
    QQuickItem::itemChange(change, data);
    if (change == ItemSceneChange || change == ItemVisibleHasChanged)
        updateKeyFilter();
}

void TextHandlesItem::updateKeyFilter()
{
    QQuickWindow* wanted = isVisible() ? window() : nullptr;
    if (m_filteredWindow && m_filteredWindow != wanted)
        m_filteredWindow->removeEventFilter(this);
    // Installing again moves the filter ahead of those installed since.
    if (wanted)
        wanted->installEventFilter(this);
    m_filteredWindow = wanted;
}

QSizeF TextHandlesItem::shownImageSize() const
{
    if (m_imageSize.width() > 0 && m_imageSize.height() > 0)
        return m_imageSize;
    if (!m_editor)
        return m_imageSize;
    for (const auto* box : {&m_editor->composite(), &m_editor->cutout()})
        if (*box)
            return QSizeF((*box)->image().width(), (*box)->image().height());
    return QSizeF(m_editor->sourceSize());
}

bool TextHandlesItem::isEditingText() const
{
    const QQuickWindow* w = window();
    const QQuickItem* focus = w ? w->activeFocusItem() : nullptr;
    return focus && focus->flags().testFlag(QQuickItem::ItemAcceptsInputMethod);
}

void TextHandlesItem::takeFocus()
{
    if (!hasActiveFocus())
        forceActiveFocus(Qt::MouseFocusReason);
}

void TextHandlesItem::publishSprite()
{
    const auto& sprite = m_session->sprite();
    m_spriteImage = sprite ? toQImage(*sprite).copy() : QImage();
    emit spriteChanged();
}

} // namespace zephrin
