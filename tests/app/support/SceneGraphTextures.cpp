#include "SceneGraphTextures.h"

#include <QQuickWindow>

namespace zephrin::testing {

void freeTexturesOfClosedWindows()
{
    // A frame of a window of our own empties the queue: the render context is
    // shared by every window, and deletes what it queued at the end of a sync.
    // A window's destruction empties Qt Quick's picture cache, which queues the
    // textures of what was left in it, so a second frame frees those.
    for (int round = 0; round < 2; ++round) {
        QQuickWindow window;
        window.resize(1, 1);
        window.grabWindow();
    }
}

} // namespace zephrin::testing
