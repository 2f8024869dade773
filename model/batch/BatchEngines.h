#pragma once
// Every engine call the batch makes, in one place: the batch's own matte engine
// and vectorizer (so a batch never waits for the editor's work, nor the
// editor for the batch), the per-file processor and the previews. Tests
// derive from it to script results and failures; the defaults call the real
// engines. Every call is synchronous and runs on a worker thread.

#include "engine/matte/MatteEngine.h"
#include "output/batch/BatchProcessor.h"
#include "output/vector/Vectorizer.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace zephrin {

class BatchEngines {
public:
    BatchEngines() = default;
    BatchEngines(const BatchEngines&) = delete;
    BatchEngines& operator=(const BatchEngines&) = delete;
    virtual ~BatchEngines() = default;

    MatteEngine engine;
    Vectorizer vectorizer;

    // The finished file for the image file at `path` (BatchProcessor::process);
    // throws what it throws.
    virtual BatchProcessor::Output process(const QString& path, const BatchProcessor::Settings& settings) const;

    // A preview of the image file at `path`, upright, at most `maxPixels` on
    // its long side; null when the file gives none.
    virtual QImage sourcePreview(const QString& path, int maxPixels) const;
    // A preview of an encoded result as it is stored (no orientation applied);
    // null when the data is no picture (an SVG, for one).
    virtual QImage resultPreview(const QByteArray& data, int maxPixels) const;
};

} // namespace zephrin
