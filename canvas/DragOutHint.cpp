#include "canvas/DragOutHint.h"

#include <QLineF>

namespace zephrin {

DragOutHint::Timer DragOutHint::pointer(std::optional<QPointF> onImage)
{
    if (!onImage) {
        m_shown = false;
        return Timer::stop;
    }
    if (m_shown && QLineF(m_at, *onImage).length() <= kMoveAway)
        return Timer::keep;
    m_shown = false;
    return Timer::restart;
}

void DragOutHint::rested(QPointF at)
{
    m_shown = true;
    m_at = at;
}

} // namespace zephrin
