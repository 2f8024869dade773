#pragma once
// Writing a batch's results into a folder: each file is named after its
// source, "-cutout" and its extension, with "-2", "-3", … after "-cutout" when
// the name is taken. A file is created only under a name that is free at the
// moment it is placed, so nothing that exists is ever replaced, not even a
// file that appears while the batch writes; the report names the files that
// went under a numbered name. Runs on a worker thread.

#include "output/batch/BatchProcessor.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace zephrin {

struct BatchResultFile {
    QString baseName;               // the source's name without its extension
    BatchProcessor::Output output;
};

struct BatchSaveReport {
    int written = 0;
    int attempted = 0;
    QString lastFailure;   // "Couldn't write NAME: reason." of the last file that failed
    std::vector<std::size_t> writtenFiles;   // the positions in `files` of those written
    QStringList renamed;   // names of the files written under "-2", "-3", … as the first was taken
};

// "cat-cutout.png" for n = 1, "cat-cutout-2.png" for n = 2, and so on.
QString batchOutputName(const QString& baseName, int n, const QString& extension);

// Writes every file into `folder`, in order, each under the first free name;
// a file that fails is noted and the others are still written.
BatchSaveReport saveBatchResults(const QString& folder, const std::vector<BatchResultFile>& files);

} // namespace zephrin
