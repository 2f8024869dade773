#pragma once

namespace zephrin::testing {

// Makes sure a QGuiApplication exists (offscreen platform) for tests that use
// fonts or other GUI classes. It lives until the process ends.
void ensureGuiApplication();

} // namespace zephrin::testing
