#include "canvas/CanvasInputGate.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QQuickWindow>
#include <QWheelEvent>

namespace zephrin {

bool CanvasInputGate::setArea(QQuickItem* area, QQuickItem* fallback)
{
    if (!area)
        area = fallback;
    if (area == m_area)
        return false;
    m_area = area;
    return true;
}

void CanvasInputGate::observe(const QEvent& event)
{
    switch (event.type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        m_pointer = static_cast<const QMouseEvent&>(event).position();
        break;
    case QEvent::Enter:
        m_pointer = static_cast<const QEnterEvent&>(event).position();
        break;
    case QEvent::Wheel:
        m_pointer = static_cast<const QWheelEvent&>(event).position();
        break;
    case QEvent::Leave:
        m_pointer.reset();
        break;
    default:
        break;
    }
}

bool CanvasInputGate::takesKeys() const
{
    const QQuickWindow* window = m_area ? m_area->window() : nullptr;
    if (!window || popupOpen(*window))
        return false;
    if (m_pointer && over(*m_pointer))
        return true;
    // The focus is the canvas's on none, on an item that holds the canvas, or
    // in the canvas but not on a control of its own (a zoom button keeps its keys).
    const QQuickItem* focus = window->activeFocusItem();
    return !focus || focus == m_area || focus->isAncestorOf(m_area) ||
           (m_area->isAncestorOf(focus) && !focus->activeFocusOnTab());
}

bool CanvasInputGate::takesPointerAt(QPointF windowPosition) const
{
    const QQuickWindow* window = m_area ? m_area->window() : nullptr;
    return window && !popupOpen(*window) && over(windowPosition);
}

bool CanvasInputGate::takesDrops() const
{
    const QQuickWindow* window = m_area ? m_area->window() : nullptr;
    return window && !popupOpen(*window);
}

bool CanvasInputGate::pointerInWindow() const
{
    const QQuickWindow* window = m_area ? m_area->window() : nullptr;
    return window && m_pointer && QRectF(QPointF(), window->size()).contains(*m_pointer);
}

bool CanvasInputGate::over(QPointF windowPosition) const
{
    return m_area->contains(m_area->mapFromScene(windowPosition));
}

bool CanvasInputGate::popupOpen(const QQuickWindow& window)
{
    // Qt Quick shows every open popup (menus included) as a child of the
    // window's overlay, the layer over the content; a popup's item has the
    // popup for its parent object.
    for (const QQuickItem* layer : window.contentItem()->childItems()) {
        if (!layer->inherits("QQuickOverlay"))
            continue;
        for (const QQuickItem* item : layer->childItems()) {
            const QObject* popup = item->parent();
            if (item->isVisible() && item->inherits("QQuickPopupItem") && !(popup && popup->inherits("QQuickToolTip")))
                return true;
        }
    }
    return false;
}

} // namespace zephrin
