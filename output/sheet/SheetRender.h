#pragma once
// Everything a sticker sheet shows and exports, from one SheetEngine::render.

#include "engine/types/ImageBox.h"
#include "output/sheet/SheetLayout.h"

#include <QByteArray>

#include <string>

namespace zephrin {

struct SheetRender {
    ImageBox preview;      // on white, printable area outlined, cut lines when shown; size of the print image
    QByteArray printPNG;   // the print image (transparent page) as PNG, with its resolution
    std::string cutSVG;    // the cut file: an SVG document in inches, UTF-8
    SheetLayout layout;    // the layout drawn
};

} // namespace zephrin
