#include "output/batch/BatchProcessor.h"

#include "engine/composite/CanvasGeometry.h"
#include "engine/types/MatteError.h"
#include "output/presets/ListingPresetSettings.h"
#include "output/service/CutoutService.h"
#include "output/service/NativePath.h"

#include <algorithm>

namespace zephrin::BatchProcessor {

namespace {

constexpr double kQuality = 92;
// The traced bitmap's long side, whatever the output size.
constexpr int kMinTraceLongEdge = 256;
constexpr int kMaxTraceLongEdge = 2048;

using CutoutService::Failure;
using CutoutService::FailureKind;

// Every file of a batch starts from the default framing; the editor's own
// composite settings never reach a batch.
CompositeSettings framing(const Settings& settings)
{
    const CompositeSettings defaults;
    return settings.preset ? compositeSettings(*settings.preset, defaults) : defaults;
}

TraceOptions traceOptions(const Settings& settings, int longEdge)
{
    TraceOptions options;
    options.source = settings.svgSource;
    options.inkThreshold = 0.5;
    options.traceLongEdge = std::clamp(longEdge, kMinTraceLongEdge, kMaxTraceLongEdge);
    options.pageLongEdge = longEdge;
    options.colors = 1;
    options.detail = settings.svgDetail;
    options.alphaThreshold = 0.5;
    options.fileMaker = false;
    options.minimumArea = 6.0;
    options.silhouetteColor = kDefaultSilhouetteColor;
    return options;
}

// The photo lines up pixel for pixel with the composite only when the
// composite is framed as the photo is: not cropped, trimmed, padded to an
// aspect or mirrored. Otherwise the tracer's ink test would read the colours
// of some other place of the photo (unmirrored ones, for a mirrored
// composite), even where the sizes happen to agree.
bool framedAsSource(const CompositeSettings& s)
{
    return !s.crop && !s.trimToContent && !aspectParts(s) && !s.mirror;
}

QString extensionOf(ExportFormat format) { return QString::fromLatin1(fileExtension(format)); }

} // namespace

// A preset's format and long edge replace the job's entirely.
ExportDefaults fileSettings(const Settings& settings)
{
    return settings.preset ? exportDefaults(*settings.preset) : ExportDefaults{settings.format, settings.longEdge};
}

bool makeSameFile(const Settings& a, const Settings& b)
{
    if (a.model != b.model || a.matte != b.matte || a.preset != b.preset)
        return false;
    const ExportDefaults file = fileSettings(a);
    if (file != fileSettings(b))
        return false;
    return file.format != ExportFormat::svg || (a.svgSource == b.svgSource && a.svgDetail == b.svgDetail);
}

Output process(const QString& path, const Settings& settings, const MatteEngine& engine,
               const Vectorizer& vectorizer)
{
    const std::optional<Image> photo = CutoutService::decodeUprightFile(nativePath(path));

    const CompositeSettings composite = framing(settings);
    const Image picture = [&] {
        const Image cutout = CutoutService::renderedCutout(engine, *photo, settings.model, settings.matte);
        if (cutout.empty())
            throw MatteError(MatteErrorKind::renderFailed);
        return engine.composite(cutout, *photo, std::nullopt, std::nullopt, composite);
    }();

    const ExportDefaults file = fileSettings(settings);
    if (file.format == ExportFormat::svg) {
        // The composite is traced as it is: when the framing mirrors, the
        // compositor has mirrored it already, and that is the side the file
        // must show (an iron-on transfer is cut and pressed face down).
        const TraceOptions options = traceOptions(settings, file.longEdge);
        const std::optional<Image> colours = framedAsSource(composite) ? photo : std::nullopt;
        const TraceResult trace = vectorizer.trace(picture, colours, options);
        return {QByteArray::fromStdString(Vectorizer::svgString(trace, options)), extensionOf(ExportFormat::svg)};
    }

    const bool keepAlpha = composite.backgroundMode == BackgroundMode::transparent;
    return {engine.renderData(picture, file.format, file.longEdge, keepAlpha, kQuality), extensionOf(file.format)};
}

} // namespace zephrin::BatchProcessor
