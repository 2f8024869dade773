#include "app/shell/WindowFrame.h"

#include <QWindow>

namespace zephrin {

bool WindowFrame::hasTitleBar(QWindow* window) const
{
    // A border alone (a tiling window manager's, or the few pixels some
    // platforms report) is no title bar.
    constexpr int kLowestTitleBar = 16;
    return window && window->isVisible() && window->frameMargins().top() >= kLowestTitleBar;
}

} // namespace zephrin
