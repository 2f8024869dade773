// zephrin-cutout: the "Remove Background" request from the command line. It cuts
// the subject out of one image file and writes the cutout beside it (or into the
// folder given), prints the path it wrote, and on failure prints the reason on
// standard error with exit status 1 (2 for a usage error).

#include "output/service/RemoveBackgroundIntent.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

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
    if (QFileInfo::exists(target) && !parser.isSet(overwriteOption)) {
        printLine(stderr, target + QStringLiteral(" already exists; pass --overwrite to replace it."));
        return kFailed;
    }

    QFile imageFile(input.filePath());
    // Mapped: a large file that turns out not to be an image costs no memory.
    intent.image = IntentFile{CutoutService::imageFileBytes(imageFile, CutoutService::FileAccess::mapped), input.fileName()};

    IntentFile result;
    try {
        result = intent.perform();
    } catch (const CutoutService::Failure& failure) {
        return fail(failure.what());
    } catch (const std::exception& error) {
        // Out of memory and the like: nothing the request names.
        return fail(sentence(CutoutService::FailureKind::renderFailed), QString::fromLocal8Bit(error.what()));
    }

    QSaveFile output(target);
    if (!output.open(QIODevice::WriteOnly) || output.write(result.data) != result.data.size() || !output.commit())
        return fail(sentence(CutoutService::FailureKind::encodeFailed), target + QStringLiteral(": ") + output.errorString());
    printLine(stdout, target);
    return 0;
}
