#pragma once

namespace zephrin::testing {

// Frees the textures Qt Quick's scene graph still holds for the pictures of
// windows that are gone. Their image factories go with the last window, and
// the scene graph deletes the textures it queued for them only at its next
// frame, which never comes: call this after the last window of a test closes,
// so that the leak check at exit sees only what is really lost.
void freeTexturesOfClosedWindows();

} // namespace zephrin::testing
