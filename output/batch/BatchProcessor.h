#pragma once
// One file of a batch, start to finish: read the image file, find and refine
// the subject, composite it with the batch's framing (a listing preset's, or
// the plain defaults) and encode it as PNG, JPEG, WebP, HEIC or SVG, in memory.
// The processor keeps nothing: it works with the engine and the vectorizer the
// batch model owns, and nothing is written to disk here.

#include "engine/matte/MatteEngine.h"
#include "engine/types/ExportFormat.h"
#include "engine/types/ListingPreset.h"
#include "engine/types/MatteModel.h"
#include "engine/types/MatteSettings.h"
#include "output/presets/ListingPresetSettings.h"
#include "output/vector/TraceSource.h"
#include "output/vector/Vectorizer.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace zephrin::BatchProcessor {

// One finished file. The batch model names it after its source file, then
// "-cutout" and this extension.
struct Output {
    QByteArray data;        // the complete encoded file
    QString fileExtension;  // "png", "jpg", "webp", "heic" or "svg", without a dot

    friend bool operator==(const Output&, const Output&) = default;
};

// The settings of one batch job, the same for every file of it. The member
// values are the batch model's initial ones.
struct Settings {
    MatteModel model = MatteModel::apple;
    MatteSettings matte;
    std::optional<ListingPreset> preset;  // the preset's framing, format and long edge when set
    ExportFormat format = kPlainExport.format;  // without a preset
    int longEdge = kPlainExport.longEdge;       // pixels, without a preset
    TraceSource svgSource = TraceSource::autoDetect;  // for SVG output
    double svgDetail = 0.6;                           // for SVG output, 0 to 1

    friend bool operator==(const Settings&, const Settings&) = default;
};

// The format and the long edge the file is written at: the preset's when one
// is set, else the settings' own.
ExportDefaults fileSettings(const Settings& settings);

// Whether both settings make the same file of a source: the same subject
// finder, refinement, preset, format and long edge, and for SVG the same
// tracing. A format or long edge that a preset overrides does not count.
bool makeSameFile(const Settings& a, const Settings& b);

// The finished file for the image file at `path`.
//
// The framing is a default CompositeSettings (transparent, untrimmed, original
// aspect), or, with a preset, what the preset makes of it; the format and the
// long edge are the preset's when one is set and the settings' otherwise.
// Raster files keep their alpha exactly when the background is transparent and
// are written at quality 92. SVG traces the composite exactly as it came out of
// the compositor (mirrored when the framing mirrors) at the long edge held to
// 256 ... 2048 pixels, as one silhouette layer in black, on a page drawn at
// the long edge.
//
// Throws CutoutService::Failure: unreadable when the path is not a readable
// regular file holding an image, tooLarge when the picture passes the loading
// limits, noSubject when matte making fails for any reason or leaves no subject. Throws MatteError(renderFailed) when the cutout renders to nothing.
// Whatever the compositor, the encoder or the vectorizer throws passes
// through unchanged.
Output process(const QString& path, const Settings& settings, const MatteEngine& engine,
               const Vectorizer& vectorizer);

} // namespace zephrin::BatchProcessor
