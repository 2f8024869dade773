#pragma once
// The editor's memory over longer work, each part in a fresh process of its
// own (bench_editor starts itself with --memory-part NAME), on the real
// engines and pools with IS-Net loaded:
//
//   session   a 3-megapixel photo edited as in ten minutes of work: the
//             cutout, feather and edge drags, erase, restore and paint
//             strokes, generated backdrops, a background colour, a shadow,
//             text layers, undo and redo, exports and copies; resident
//             memory at the end, once idle
//   handoffs  20 photos of 12 megapixels handed over a quarter of a second
//             apart, each opened through the editor's import as a hand-off
//             is; resident memory before (one photo cut out, idle) and after
//             (the last one cut out, idle)
//   batch     a batch of 20 photos of 12 megapixels to PNG at 2400 beside a
//             photo that is cut out; resident memory before and after (idle,
//             with the batch's results, and once the batch is cleared)
//   backdrops the 26 generated backdrops clicked through on a photo of 12
//             megapixels: the pictures history holds, the peak, and the
//             resident memory once idle
//
// Each part prints its figures as "= name value" lines that the parent reads
// into its summary.

#include <QString>

namespace zephrin::bench {

// How long the editor is left alone before an idle figure is read, in
// milliseconds: past the 10 s after which it gives memory back.
inline constexpr int kIdleMs = 12000;

// Runs the part named `part`; main()'s status (2 for an unknown name).
int runEditorMemoryPart(const QString& part, bool isnet);

} // namespace zephrin::bench
