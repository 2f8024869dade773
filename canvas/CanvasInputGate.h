#pragma once
// Whether the window's keys, wheel and pinch belong to the canvas. The canvas
// items filter their window's events, so without this test they would act
// behind an open popup or menu, or take keys meant for a control elsewhere.
// The canvas takes them only while no popup or menu is open (tool tips do
// not count); a key only while the pointer is over the canvas or the
// keyboard focus is in it (not on a control of its own, such as a zoom
// button) or nowhere in particular (on an item that holds the canvas, or on
// none); the wheel and a pinch only over the canvas; a drop of files only
// while no popup is open (a modal sheet or question stands over the canvas).

#include <QPointF>
#include <QPointer>
#include <QQuickItem>

#include <optional>

class QEvent;
class QQuickWindow;

namespace zephrin {

class CanvasInputGate {
public:
    // The canvas: the item whose area counts, with what is drawn over it;
    // `fallback` (the filtering item itself) when none. True when it changed.
    bool setArea(QQuickItem* area, QQuickItem* fallback);
    QQuickItem* area() const { return m_area; }

    // Follows the pointer through the window's events; give it every event
    // the filter sees.
    void observe(const QEvent& event);

    bool takesKeys() const;
    // For a wheel turn or a pinch at that point of the window.
    bool takesPointerAt(QPointF windowPosition) const;
    bool takesDrops() const;
    // Where the window's last event put the pointer, in window coordinates;
    // none after it left.
    std::optional<QPointF> pointer() const { return m_pointer; }
    // Whether that is inside the window (a move outside comes while a button
    // is held; then the window hears of no leaving).
    bool pointerInWindow() const;

    // Whether a popup or a menu of the window is open.
    static bool popupOpen(const QQuickWindow& window);

private:
    bool over(QPointF windowPosition) const;

    QPointer<QQuickItem> m_area;
    std::optional<QPointF> m_pointer;  // window coordinates; none while outside
};

} // namespace zephrin
