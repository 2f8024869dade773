#pragma once
// PNG files written on every core. Every row is Paeth-filtered and the filtered
// bytes are deflated with zlib's run-length strategy (on photographs as small
// as zlib's default adaptive settings, in a fifth of the time). The rows are cut
// into bands of about 256 KB that are deflated at once, each band ending on a
// full flush so that the bands' streams follow one another as one zlib stream
// with one Adler-32 over all of them: an ordinary PNG that every decoder reads.
// The bands depend only on the image's width, so the same image always gives
// the same file whatever the machine.

#include "engine/codec/ImageDestination.h"

#include <atomic>

namespace zephrin {

// `rendered`: CV_8UC4 premultiplied RGBA, sRGB. With the alpha channel kept the
// file is straight RGBA (un-premultiplied, rounded); without it the file is RGB
// and the alpha byte is dropped (the caller has flattened the image). Tagged
// sRGB (gAMA, sRGB and cHRM chunks). A positive `pixelsPerMetre` is written as
// the image's resolution on both axes (pHYs chunk; 300 dpi is 11811).
// Nothing when the image is empty or zlib fails, or when `stop` (if given)
// turns true before every band is deflated: the bands not begun then are left.
std::optional<QByteArray> writePng(const Image& rendered, bool keepAlpha, int pixelsPerMetre = 0,
                                   const std::atomic<bool>* stop = nullptr);

} // namespace zephrin
