#include "engine/text/TextRenderer.h"

#include "engine/text/FontRegistration.h"
#include "engine/text/FontsFolder.h"

namespace zephrin::TextRenderer {

void registerDownloadedFonts()
{
    static FontRegistration downloadedFonts(fontsFolder());
    downloadedFonts.registerOnce();
}

} // namespace zephrin::TextRenderer
