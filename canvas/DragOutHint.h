#pragma once
// When the drag-out hint shows, and where. It opens where the pointer has
// rested on the image for the rest delay, and closes when the pointer moves
// more than kMoveAway from there or is no longer over the image (it left the
// image or the window, a button went down, a popup opened over it, the tool
// has no drag-out);
// resting again opens it anew. Windowless: the canvas item hands it the
// pointer as the window's events place it, and runs the delay's timer as told.

#include <QPointF>

#include <chrono>
#include <optional>

namespace zephrin {

class DragOutHint {
public:
    static constexpr std::chrono::milliseconds kRest{800};
    static constexpr double kMoveAway = 8;  // view points

    enum class Timer { keep, restart, stop };

    // The pointer over the image, in the canvas's points; none when it is
    // anywhere else or the hint does not apply.
    Timer pointer(std::optional<QPointF> onImage);
    // The delay ran out with the pointer at rest there.
    void rested(QPointF at);

    bool shown() const { return m_shown; }
    QPointF at() const { return m_at; }

private:
    bool m_shown = false;
    QPointF m_at;
};

} // namespace zephrin
