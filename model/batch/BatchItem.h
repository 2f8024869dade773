#pragma once
// One file of the batch queue and where it stands.

#include "output/batch/BatchProcessor.h"

#include <QImage>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <optional>

namespace zephrin {

struct BatchItemStatus {
    enum class Kind { queued, processing, done, failed };

    Kind kind = Kind::queued;
    QString message;   // why the file failed; empty otherwise

    static BatchItemStatus failed(QString message) { return {Kind::failed, std::move(message)}; }

    // "queued", "processing", "done" or "failed", as the views read it.
    QString name() const;

    friend bool operator==(const BatchItemStatus&, const BatchItemStatus&) = default;
};

struct BatchItem {
    QUuid id;
    QUrl url;                                     // a local file
    BatchItemStatus status;
    QImage sourceThumbnail;                       // null until made, or when none could be
    QImage resultThumbnail;                       // null until the result is in, or when none could be
    std::optional<BatchProcessor::Output> output; // the encoded result, kept until the queue is cleared
    BatchProcessor::Settings outputSettings;      // the settings the result was made with
    bool outputSaved = false;                     // an Export All has written this result into a file

    // The file's name without its extension ("Holiday photo 2024.final").
    QString baseName() const;
    QString fileName() const;
};

} // namespace zephrin
