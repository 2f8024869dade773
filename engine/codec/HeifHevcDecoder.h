#pragma once
// libheif's decoder of HEVC images (HEIC pictures, their grid tiles and alpha
// planes): libde265, as in libheif's own decoder, but a picture that its
// coded data leaves partly undecoded is refused. libde265 hands such a
// picture out without an error or a warning when a slice ends early (damaged
// slice data, a slice missing), its undecoded blocks holding whatever the
// memory held before: a damaged HEIC gave another cutout on every run. So is
// a picture libde265 warns of (a slice that runs on past the picture, its
// last blocks decoded from bits the file does not hold, a header it could
// not parse, a reference picture it made up): libheif's own decoder passes
// over its warnings.
//
// How the undecoded blocks are found: every luma sample starts as a mark,
// a value that depends on its position; a decoded picture is refused when
// eight samples in a row, aligned on eight, still hold their marks. HEVC
// codes whole blocks of eight samples and more (a coding tree block is at
// least 16 wide, one at the picture's right edge at least 8), and the only
// decoding step that writes into an undecoded block, the deblocking of its
// edge with a later decoded block, changes three samples at most: every
// undecoded block keeps such a run, and a decoded picture shows one only
// where it codes those eight values, some 1 in 2^64 a run. The chroma planes
// start cleared: they are decoded block by block with the luma.

namespace zephrin {

// Makes this decoder libheif's choice for HEVC data in this process, once.
// Every HEIF read calls it.
void useCheckedHevcDecoder();

} // namespace zephrin
