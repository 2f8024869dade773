#include "canvas/CanvasSurface.h"

#include "canvas/CanvasActions.h"
#include "engine/types/RawEnum.h"
#include "model/editor/EditorState.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QNativeGestureEvent>
#include <QQuickWindow>
#include <QStyleHints>
#include <QWheelEvent>

#include <cmath>

namespace zephrin {

CanvasSurface::CanvasSurface(QQuickItem* parent) : QQuickItem(parent)
{
    setAcceptedMouseButtons(Qt::LeftButton);
    setAcceptHoverEvents(true);
    m_gate.setArea(this, this);
    m_hintTimer.setSingleShot(true);
    m_hintTimer.setInterval(DragOutHint::kRest);
    connect(&m_hintTimer, &QTimer::timeout, this, &CanvasSurface::hintRested);
    connect(this, &CanvasSurface::offersDragOutChanged, this, &CanvasSurface::updateHint);
}

void CanvasSurface::setInputArea(QQuickItem* area)
{
    if (m_gate.setArea(area, this))
        emit inputAreaChanged();
}

CanvasSurface::~CanvasSurface() { removeFilter(); }

QObject* CanvasSurface::editorObject() const { return m_editor.data(); }

void CanvasSurface::setEditorObject(QObject* object)
{
    auto* editor = qobject_cast<EditorState*>(object);
    if (editor == m_editor)
        return;
    removeFilter();
    for (const auto& connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    m_editor = editor;
    m_controller = editor ? std::make_unique<CanvasController>(*editor) : nullptr;
    if (editor) {
        m_controller->setRegionSize(size());
        for (auto signal : {&EditorState::zoomChanged, &EditorState::panOffsetChanged, &EditorState::documentChanged,
                            &EditorState::cutoutChanged, &EditorState::compositeChanged})
            m_connections << connect(editor, signal, this, &CanvasSurface::mappingChanged);
        for (auto signal : {&EditorState::documentChanged, &EditorState::cutoutChanged, &EditorState::compositeChanged})
            m_connections << connect(editor, signal, this, &CanvasSurface::imagesChanged);
        for (auto signal : {&EditorState::canvasToolChanged, &EditorState::spacePanChanged})
            m_connections << connect(editor, signal, this, &CanvasSurface::effectiveToolChanged);
        for (auto signal : {&EditorState::canvasToolChanged, &EditorState::spacePanChanged, &EditorState::toolChanged})
            m_connections << connect(editor, signal, this, &CanvasSurface::offersDragOutChanged);
    }
    emit editorChanged();
    emit mappingChanged();
    emit effectiveToolChanged();
    emit offersDragOutChanged();
    emit imagesChanged();
    updateFilter();
}

ViewMapping CanvasSurface::mapping() const { return m_controller ? m_controller->mapping() : ViewMapping{}; }

QRectF CanvasSurface::imageRect() const { return m_controller ? mapping().imageRect() : QRectF(); }

QSizeF CanvasSurface::imageSize() const { return m_editor ? shownImageSize(*m_editor) : QSizeF(); }

QString CanvasSurface::effectiveToolLabel() const
{
    return m_editor ? rawValue(effectiveTool(*m_editor)) : rawValue(CanvasTool::view);
}

QImage CanvasSurface::originalImage() const { return m_editor ? m_editor->documentImage() : QImage(); }

QImage CanvasSurface::resultImage() const
{
    if (!m_editor)
        return {};
    return m_editor->composite() ? m_editor->compositeImage() : m_editor->cutoutImage();
}

QRectF CanvasSurface::compareResultRect() const
{
    return m_controller ? m_controller->compareMapping().imageRect() : QRectF();
}

QRectF CanvasSurface::compareOriginalRect() const
{
    if (!m_controller || !m_editor->document())
        return {};
    const Image& document = m_editor->document()->image.image();
    return documentRect(m_controller->compareMapping(), QSizeF(document.width(), document.height()));
}

bool CanvasSurface::compareOriginalMirrored() const
{
    return m_controller && m_controller->compareMapping().frame.mirror;
}

bool CanvasSurface::offersDragOut() const { return m_editor && dragOutOffered(*m_editor); }

std::optional<QPointF> CanvasSurface::hintPointer() const
{
    const QQuickWindow* shown = m_filteredWindow;
    const std::optional<QPointF> pointer = m_gate.pointer();
    // A held button is a drag (or a click) under way: the hint waits for it to end.
    // A picture zoomed past the canvas reaches under the toolbar and the
    // panels, where a press is theirs: the pointer must be over the canvas.
    if (!shown || !pointer || !m_gate.pointerInWindow() || !offersDragOut() || !m_gate.takesPointerAt(*pointer) ||
        QGuiApplication::mouseButtons() != Qt::NoButton)
        return std::nullopt;
    const QPointF at = mapFromScene(*pointer);
    return imageRect().contains(at) ? std::optional(at) : std::nullopt;
}

void CanvasSurface::updateHint()
{
    const bool wasShown = m_hint.shown();
    switch (m_hint.pointer(hintPointer())) {
    case DragOutHint::Timer::keep: break;
    case DragOutHint::Timer::restart: m_hintTimer.start(); break;
    case DragOutHint::Timer::stop: m_hintTimer.stop(); break;
    }
    if (m_hint.shown() != wasShown)
        emit dragOutHintChanged();
}

void CanvasSurface::closeHintLaterIfCovered()
{
    QMetaObject::invokeMethod(this, &CanvasSurface::closeHintIfCovered, Qt::QueuedConnection);
}

void CanvasSurface::closeHintIfCovered()
{
    if (!hintPointer())
        updateHint();
}

void CanvasSurface::hintRested()
{
    // Where the pointer is now: a popup may have opened since it stopped.
    if (const std::optional<QPointF> at = hintPointer()) {
        m_hint.rested(*at);
        emit dragOutHintChanged();
    } else
        updateHint();
}

bool CanvasSurface::viewTool() const { return !m_editor || effectiveTool(*m_editor) == CanvasTool::view; }

void CanvasSurface::mousePressEvent(QMouseEvent* event)
{
    if (!m_controller || !imageRect().contains(event->position())) {
        event->ignore();
        return;
    }
    // Keys go to the canvas now, not to a control clicked before.
    forceActiveFocus(Qt::MouseFocusReason);
    if (viewTool()) {
        if (offersDragOut()) {
            m_viewPress = event->position();
            // The press may become a drag out: its PNG is made meanwhile.
            CanvasActions().prepareDragOut(m_editor);
        }
    } else
        m_controller->gestures().press(event->position(), mapping());
    event->accept();
}

void CanvasSurface::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_controller)
        return;
    if (m_viewPress) {
        const double moved = std::hypot(event->position().x() - m_viewPress->x(), event->position().y() - m_viewPress->y());
        if (moved >= QGuiApplication::styleHints()->startDragDistance()) {
            m_viewPress.reset();
            CanvasActions().dragOut(m_editor, this);
        }
        return;
    }
    m_controller->gestures().move(event->position(), mapping());
}

void CanvasSurface::mouseReleaseEvent(QMouseEvent* event)
{
    m_viewPress.reset();
    CanvasActions().cancelDragOut();
    if (m_controller)
        m_controller->gestures().release(event->position(), mapping());
}

void CanvasSurface::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!m_controller || !imageRect().contains(event->position())) {
        event->ignore();
        return;
    }
    // The second press of the view tool carries nothing out.
    m_viewPress.reset();
    m_controller->gestures().doubleClick();
    event->accept();
}

void CanvasSurface::mouseUngrabEvent()
{
    // Another item took the pointer: the drag ends without its effect.
    m_viewPress.reset();
    CanvasActions().cancelDragOut();
    if (m_controller) {
        m_controller->gestures().cancel();
        m_controller->gestures().release({}, mapping());
    }
}

void CanvasSurface::hoverMoveEvent(QHoverEvent* event)
{
    if (m_controller && !viewTool())
        m_controller->gestures().hover(event->position(), mapping());
}

void CanvasSurface::hoverLeaveEvent(QHoverEvent*)
{
    if (m_controller)
        m_controller->gestures().hover(std::nullopt, mapping());
}

void CanvasSurface::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (m_controller && newGeometry.size() != oldGeometry.size()) {
        m_controller->setRegionSize(newGeometry.size());
        emit mappingChanged();
    }
}

void CanvasSurface::itemChange(ItemChange change, const ItemChangeData& value)
{
    QQuickItem::itemChange(change, value);
    if (change == ItemSceneChange || change == ItemVisibleHasChanged || change == ItemEnabledHasChanged)
        updateFilter();
}

void CanvasSurface::componentComplete()
{
    QQuickItem::componentComplete();
    updateFilter();
}

void CanvasSurface::updateFilter()
{
    QQuickWindow* wanted = m_controller && isComponentComplete() && isVisible() && isEnabled() ? window() : nullptr;
    if (wanted == m_filteredWindow)
        return;
    removeFilter();
    if (!wanted)
        return;
    wanted->installEventFilter(this);
    m_filteredWindow = wanted;
    m_focusWatch = connect(wanted, &QQuickWindow::activeFocusItemChanged, this, &CanvasSurface::closeHintLaterIfCovered);
    emit filteringChanged();
}

void CanvasSurface::removeFilter()
{
    if (!m_filteredWindow)
        return;
    m_filteredWindow->removeEventFilter(this);
    disconnect(m_focusWatch);
    m_filteredWindow.clear();
    updateHint();
    m_pinch = 1;
    if (m_controller) {
        m_controller->keysLost();
        m_controller->pinchEnded();
    }
    emit filteringChanged();
}

bool CanvasSurface::handleKey(QEvent* event)
{
    auto* key = static_cast<QKeyEvent*>(event);
    if (event->type() == QEvent::KeyRelease)
        return m_controller->keyReleased(key->key(), key->isAutoRepeat());
    // A Space the canvas holds stays the canvas's wherever the pointer goes.
    const bool heldSpace = key->key() == Qt::Key_Space && m_editor->spacePan();
    if (!heldSpace && !m_gate.takesKeys())
        return false;
    const QQuickItem* focus = m_filteredWindow ? m_filteredWindow->activeFocusItem() : nullptr;
    const bool textEditing = focus && (focus->inherits("QQuickTextInput") || focus->inherits("QQuickTextEdit"));
    return m_controller->keyPressed(key->key(), key->isAutoRepeat(), textEditing);
}

bool CanvasSurface::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_filteredWindow || !m_controller)
        return QQuickItem::eventFilter(watched, event);
    m_gate.observe(*event);
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::Enter:
    case QEvent::Leave:
        updateHint();
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        closeHintLaterIfCovered();
        return handleKey(event);
    case QEvent::FocusOut:
    case QEvent::WindowDeactivate:
        m_controller->keysLost();
        break;
    case QEvent::Wheel: {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (!m_gate.takesPointerAt(wheel->position()))
            break;
        const bool precise = !wheel->pixelDelta().isNull();
        const double delta = precise ? wheel->pixelDelta().y() : wheel->angleDelta().y() / 120.0;
        return m_controller->scrolled(mapFromScene(wheel->position()), delta, precise);
    }
    case QEvent::NativeGesture: {
        auto* gesture = static_cast<QNativeGestureEvent*>(event);
        if (gesture->gestureType() == Qt::ZoomNativeGesture && m_gate.takesPointerAt(gesture->position())) {
            m_pinch *= 1 + gesture->value();
            m_controller->pinchChanged(m_pinch);
            return true;
        }
        if (gesture->gestureType() == Qt::EndNativeGesture || gesture->gestureType() == Qt::BeginNativeGesture) {
            m_pinch = 1;
            m_controller->pinchEnded();
        }
        break;
    }
    default:
        break;
    }
    return QQuickItem::eventFilter(watched, event);
}

} // namespace zephrin
