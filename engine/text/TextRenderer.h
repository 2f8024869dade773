#pragma once
// Turns text layers into pixels.

namespace zephrin::TextRenderer {

// Registers the fonts of the fonts folder once per process (see
// FontRegistration); every text layout calls it first, and every call after the
// first returns at once. Needs the QGuiApplication.
void registerDownloadedFonts();

} // namespace zephrin::TextRenderer
