#pragma once
// What a HEIF file's boxes say that libheif does not tell before decoding:
// the size a derived primary image (a grid of tiles, or an overlay of images
// on a canvas) is put together at. That size is in the derived image's own
// data, not in its 'ispe' property, and libheif decodes at it: a file whose
// 'ispe' said 1000 × 1000 over a grid of 20480 × 20480 took 3.7 GB. And
// whether the primary image has an alpha plane, which libheif may leave out.
// And which brands the file claims.

#include <QByteArrayView>
#include <QSize>

#include <optional>

namespace zephrin {

struct HeifPrimaryItem {
    bool derived = false;             // a 'grid' or an 'iovl' item
    std::optional<QSize> derivedSize; // the size stored in its data; none when
                                      // the boxes cannot be followed to it
};

// The primary item as the file's boxes describe it: not derived when the
// boxes name no primary item of those types (libheif then judges the file).
HeifPrimaryItem heifPrimaryItem(QByteArrayView bytes);

// Whether the file's first box, its 'ftyp', names a brand of the still
// pictures read (HEVC: 'heic', 'heix'; AV1: 'avif'), as its major brand or
// among its compatible ones. Many cameras and converters write the plain
// 'mif1' as the major brand and the codec's brand beside it; a file of
// sequences or layered pictures alone names none of these.
bool heifNamesReadBrand(QByteArrayView bytes);

// Whether the file's boxes give the primary item an alpha plane: an item that
// an 'auxl' reference makes its auxiliary image, with an 'auxC' property of an
// alpha type. libheif passes over such an item whose size is not the primary
// image's, or whose size property is missing, and decodes the picture opaque.
bool heifPrimaryHasAlphaItem(QByteArrayView bytes);

// Whether every HEVC sequence parameter set of the file's 'hvcC' properties
// passes the checks libde265 prints its complaints about on standard error
// (no handler takes them) before it fails the decode: coding blocks that do
// not tile the picture, transform blocks larger than coding blocks or than
// 32, transform depths past the coding tree, bit depths outside 8 to 16.
// Such a file decodes to nothing anyway; refused first, it says nothing.
// And whether each codes pictures no wider or taller than `maxSide`: the
// decoder's planes are made (and written whole) at the coded size.
bool heifParameterSetsSound(QByteArrayView bytes, quint32 maxSide);

// Whether every tile of a primary grid decodes at the grid's tile size, so
// that the tiles fill the grid: libheif places each tile by the first tile's
// 'ispe' and copies it at the size it decodes at, so a smaller one left part
// of the grid unwritten (black) and a larger one wrote over its neighbour.
// Each tile's 'ispe' must say that size, the tiles must cover the grid, and
// an HEVC tile's every sequence parameter set (its hvcC's, and any in its
// data, which replace them) must show a picture of that size. The same for
// the primary image's alpha image. True when neither is a grid.
bool heifGridTilesFit(QByteArrayView bytes);

// Whether the images of a primary overlay cover enough of its canvas to be
// a picture of the file (framesCoverCanvas in ReadSteps.h), their areas
// added up at the sizes their 'ispe' properties give, and each HEVC image
// decodes at that size: libheif fills the rest of the canvas with the
// overlay's colour, so a canvas of 16000 x 16000 around one small image is
// a picture the file does not hold. True when the primary item is no overlay.
bool heifOverlayCoversCanvas(QByteArrayView bytes);

} // namespace zephrin
