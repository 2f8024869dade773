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
    for (std::size_t index = 0; index < files.size(); ++index) {
        const BatchResultFile& file = files[index];
        ++report.attempted;
        QString name;
        QString reason;
        int placedAs = 0;   // the candidate the file was placed under
        for (int n = 1; n <= kMaxCandidates && placedAs == 0; ++n) {
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
                placedAs = n;
            else if (placement == OutputFile::Placement::failed) {
                reason = out.errorString();
                break;
            }
            // nameTaken: another file got there first; try the next name.
        }
        if (placedAs > 0) {
            ++report.written;
            report.writtenFiles.push_back(index);
            if (placedAs > 1)
                report.renamed << name;
        } else {
            report.lastFailure = QStringLiteral("Couldn't write ") + name + QStringLiteral(": ")
                                 + (reason.isEmpty() ? QStringLiteral("no free name") : reason) + u'.';
        }
    }
    return report;
}

} // namespace zephrin
