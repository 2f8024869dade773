#include "model/batch/BatchSaving.h"

#include "output/service/OutputFile.h"

#include <QDir>
#include <QFileInfo>

namespace zephrin {

namespace {

// More candidates than any folder holds copies of one picture; past it the
// file counts as failed rather than the loop running on.
constexpr int kMaxCandidates = 100000;

bool taken(const QString& path)
{
    // A dangling link takes its name too: creating through it would make a
    // file somewhere else.
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

QString batchOutputName(const QString& baseName, int n, const QString& extension)
{
    const QString suffix = n <= 1 ? QString() : QStringLiteral("-%1").arg(n);
    return baseName + QStringLiteral("-cutout") + suffix + u'.' + extension;
}

BatchSaveReport saveBatchResults(const QString& folder, const std::vector<BatchResultFile>& files)
{
    BatchSaveReport report;
    const QDir dir(folder);
    for (const BatchResultFile& file : files) {
        ++report.attempted;
        QString name;
        QString reason;
        bool placed = false;
        for (int n = 1; n <= kMaxCandidates && !placed; ++n) {
            name = batchOutputName(file.baseName, n, file.output.fileExtension);
            const QString path = dir.filePath(name);
            if (taken(path))
                continue;
            OutputFile out(path);
            if (!out.write(file.output.data)) {
                reason = out.errorString();
                break;
            }
            const OutputFile::Placement placement = out.place(false);
            if (placement == OutputFile::Placement::placed)
                placed = true;
            else if (placement == OutputFile::Placement::failed) {
                reason = out.errorString();
                break;
            }
            // nameTaken: another file got there first; try the next name.
        }
        if (placed)
            ++report.written;
        else
            report.lastFailure = QStringLiteral("Couldn't write ") + name + QStringLiteral(": ")
                                 + (reason.isEmpty() ? QStringLiteral("no free name") : reason) + u'.';
    }
    return report;
}

} // namespace zephrin
