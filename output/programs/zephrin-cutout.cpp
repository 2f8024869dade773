// zephrin-cutout: the "Remove Background" request from the command line. It cuts
// the subject out of one image file and writes the cutout beside it (or into the
// folder given), prints the path it wrote, and on failure prints the reason on
// standard error with exit status 1 (2 for a usage error). A file of the
// cutout's name is never replaced without --overwrite, also when another run
// writes it meanwhile; the output folder is checked before the work.

#include "engine/isnet/CoreMLMatte.h"
#include "engine/threads/ThreadBudget.h"
#include "output/service/OutputFile.h"
#include "output/service/RemoveBackgroundIntent.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <future>

using namespace zephrin;

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

void printLine(FILE* stream, const QString& text) { std::fprintf(stream, "%s\n", qPrintable(text)); }

int fail(const char* sentence, const QString& detail = {})
{
    std::fprintf(stderr, "%s\n", sentence);
    if (!detail.isEmpty())
        printLine(stderr, detail);
    return kFailed;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zephrin-cutout"));
    threadBudget();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QString::fromLatin1(RemoveBackgroundIntent::title) + QStringLiteral("\n\n")
        + RemoveBackgroundIntent::parameterSummary(QStringLiteral("<image>"), QStringLiteral("<format>")) + u'.');
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption formatOption(
        {QStringLiteral("f"), QStringLiteral("format")},
        QString::fromLatin1(RemoveBackgroundIntent::formatTitle) + QStringLiteral(". Default: ")
            + QString::fromLatin1(RemoveBackgroundIntent::defaultFormat) + u'.',
        QStringLiteral("format"), QString::fromLatin1(RemoveBackgroundIntent::defaultFormat));
    const QCommandLineOption folderOption({QStringLiteral("o"), QStringLiteral("output-folder")},
                                          QStringLiteral("Write the cutout into <folder> instead of beside the image."),
                                          QStringLiteral("folder"));
    const QCommandLineOption overwriteOption(QStringLiteral("overwrite"),
                                             QStringLiteral("Replace a file of the cutout's name if one exists."));
    parser.addOptions({formatOption, folderOption, overwriteOption});
    parser.addPositionalArgument(QStringLiteral("image"), QString::fromLatin1(RemoveBackgroundIntent::imageTitle));

    if (!parser.parse(QCoreApplication::arguments())) {
        printLine(stderr, QStringLiteral("zephrin-cutout: ") + parser.errorText());
        printLine(stderr, QStringLiteral("Try 'zephrin-cutout --help'."));
        return kUsage;
    }
    if (parser.isSet(helpOption))
        parser.showHelp(0);
    if (parser.positionalArguments().size() != 1) {
        printLine(stderr, QStringLiteral("zephrin-cutout: give exactly one image file."));
        printLine(stderr, QStringLiteral("Try 'zephrin-cutout --help'."));
        return kUsage;
    }

    const QFileInfo input(parser.positionalArguments().constFirst());
    RemoveBackgroundIntent intent;
    intent.format = parser.value(formatOption);

    // Known before any work is done, so an existing file is refused at once.
    const QString folder = parser.isSet(folderOption) ? parser.value(folderOption) : input.absolutePath();
    const QString target = QDir::cleanPath(QDir(folder).absoluteFilePath(
        RemoveBackgroundIntent::resultFileName(input.fileName(), RemoveBackgroundIntent::mappedFormat(intent.format))));
    const bool overwrite = parser.isSet(overwriteOption);
    const auto refuseExisting = [&] {
        printLine(stderr, target + QStringLiteral(" already exists; pass --overwrite to replace it."));
        return kFailed;
    };
    if (QFileInfo::exists(target) && !overwrite)
        return refuseExisting();
    // The output's temporary file, made now: a folder that is missing or cannot
    // be written to is reported before the work rather than after it.
    OutputFile output(target);
    const auto cannotSave = [&] {
        return fail(sentence(CutoutService::FailureKind::encodeFailed), target + QStringLiteral(": ") + output.errorString());
    };
    if (!output.isOpen())
        return cannotSave();

    // The network loads while the picture is read and decoded; leaving main
    // waits for it.
    const std::future<void> networkLoad = std::async(std::launch::async, [] {
        if (CoreMLMatte::isAvailable())
            CoreMLMatte::shared().ensureLoaded();
    });
    {
        // Read, not mapped: another program may cut the file short meanwhile.
        QFile imageFile(input.filePath());
        intent.image = IntentFile{CutoutService::imageFileBytes(imageFile), input.fileName()};
    }

    IntentFile result;
    try {
        result = intent.perform();
    } catch (const CutoutService::Failure& failure) {
        return fail(failure.what());
    } catch (const std::exception& error) {
        // Out of memory and the like: nothing the request names.
        return fail(sentence(CutoutService::FailureKind::renderFailed), QString::fromLocal8Bit(error.what()));
    }

    if (!output.write(result.data))
        return cannotSave();
    switch (output.place(overwrite)) {
    case OutputFile::Placement::placed: break;
    // Another run wrote the name since the check above.
    case OutputFile::Placement::nameTaken: return refuseExisting();
    case OutputFile::Placement::failed: return cannotSave();
    }
    printLine(stdout, target);
    return 0;
}
