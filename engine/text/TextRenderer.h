#pragma once
// Turns text layers into pixels: lays the text out glyph by glyph (straight lines,
// or one line bent on an arc), imitates bold and italic where the face has no
// such style, adds outline, shadow or glow, and draws label shapes with border,
// fill and text fitted into the label or cut out of it.
//
// Three callers: the compositor takes an overlay of all layers at the
// composite's size (drawLayers), the editor the layers drawn over an image
// (renderLayers), the canvas's text handles one layer's box and sprite (boxSize,
// renderImage).
//
// Text geometry is worked out with y up: layout space and glyph space have y up, and
// the drawing functions work in the bitmap's y-up space (origin at the
// bottom-left corner), which the context's base transform maps into the image
// (yUpToImage). A layer's anchor in a W × H image is (x W, (1 − y) H) there.
//
// Nothing here keeps state but the one-time font registration; every call makes
// its own fonts, paths and bitmaps, so calls may run on any thread at once. Text
// needs the QGuiApplication (Qt's font database): without it layouts are empty
// and nothing is drawn.

#include "engine/pixel/DrawingContext.h"
#include "engine/pixel/Image.h"
#include "engine/text/TextLayer.h"

#include <QList>
#include <QRawFont>
#include <QRectF>
#include <QSizeF>
#include <QTransform>

#include <optional>
#include <vector>

namespace zephrin::TextRenderer {

// One placed glyph.
struct Item {
    QRawFont font;        // the font of the glyph's run, at the layout's font size
    quint32 glyph = 0;    // glyph index in that font
    QTransform transform; // glyph space (origin on the baseline at the glyph's left edge) → layout space
    QRectF box;           // in glyph space: (0, −descent, max(advance, 1), ascent + descent)

    friend bool operator==(const Item&, const Item&) = default;
};

// A laid-out layer. The first line's baseline is y = 0 and every line is centred
// on x = 0; callers move the layout so that bbox's centre lands on the anchor.
struct Layout {
    std::vector<Item> items;
    QRectF bbox;              // ink area in layout space, grown for outline and slant
    double fontSize = 0;      // pixels
    bool fakeBold = false;    // bold wanted, the face has none: drawn with an extra stroke
    bool fakeItalic = false;  // italic wanted, the face has none: drawn sheared

    friend bool operator==(const Layout&, const Layout&) = default;
};

// Registers the fonts of the fonts folder once per process (see
// FontRegistration); every text layout calls it first, and every call after the
// first returns at once. Needs the QGuiApplication.
void registerDownloadedFonts();

// Lays the layer out for an image `scale` pixels high.
Layout layout(const TextLayer& layer, double scale);

// Sets the context's shadow for the layer's effect ("shadow" or "glow", exact
// case); any other effect leaves the shadow as it is. `effectScale` is the font
// size for plain text and 0.3 × the label's shorter side for a label.
void applyEffect(const TextLayer& layer, DrawingContext& context, double effectScale);

// Draws every glyph with the painter's pen and brush (stroke, fill, or both in
// that order of fill then stroke), each item's transform followed by
// `translation` ahead of the painter's transform.
void drawGlyphs(const Layout& layout, const QTransform& translation, DrawingContext& context);

// Draws a label layer centred on (centreX, centreY), scale H = the image height.
void drawLabel(const TextLayer& layer, DrawingContext& context, double scale, double centreX, double centreY,
               bool mirrored);

// Draws one layer of either kind at its place in a width × height image.
void drawLayer(const TextLayer& layer, DrawingContext& context, double width, double height, bool mirrored);

// All layers, in order, on a transparent bitmap of width × height (truncated to
// whole pixels). None when a side is not positive or not finite, or the bitmap
// can't be made.
std::optional<Image> drawLayers(const QList<TextLayer>& layers, double width, double height);

// The image with all layers drawn over it, each mirrored about its own anchor
// when `mirrored`. None for an empty image.
std::optional<Image> renderLayers(const QList<TextLayer>& layers, const Image& image, bool mirrored);

// The size of the layer's box in whole pixels (rounded up) for an image `scale`
// pixels high: the label with its border, or the text's bbox.
QSizeF boxSize(const TextLayer& layer, double scale);

// A sprite of the one layer with room for its effect, the anchor at its centre.
std::optional<Image> renderImage(const TextLayer& layer, double width, double height, bool mirrored);

} // namespace zephrin::TextRenderer
