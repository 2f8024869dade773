// zephrin-cutout: the "Remove Background" request from the command line. It cuts
// the subject out of one image file and writes the cutout beside it (or into the
// folder given), prints the path it wrote, and on failure prints the reason on
// standard error with exit status 1 (2 for a usage error): the sentence, then,
// where it is known, the file it is about and why. A file of the cutout's name
// is never replaced without --overwrite, also when another run writes it
// meanwhile; the output folder and the cutout's name are checked before the
// work, and nothing is written into the folder before there is a cutout, so a
// run that is stopped leaves nothing behind.
//
// Paths are bytes, as the file system holds them: a name that is no UTF-8 is
// read, and printed, as it is.

#include "engine/codec/ImageRead.h"
#include "engine/isnet/CoreMLMatte.h"
#include "engine/isnet/RuntimeEnvironment.h"
#include "engine/threads/ProcessMemory.h"
#include "engine/threads/ThreadBudget.h"
#include "output/service/OutputFile.h"
#include "output/service/RemoveBackgroundIntent.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>

using namespace zephrin;

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

void printBytes(FILE* stream, const std::string& bytes, char end = '\n')
{
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fputc(end, stream);
}

void printLine(FILE* stream, const QString& text) { printBytes(stream, text.toStdString()); }

int fail(const char* sentence, const std::string& detail = {})
{
    std::fprintf(stderr, "%s\n", sentence);
    if (!detail.empty())
        printBytes(stderr, detail);
    return kFailed;
}

// An argument's bytes, from the text the parser was given (see main).
std::string bytesOf(const QString& argument) { return argument.toLatin1().toStdString(); }

// The sentence, then which file and why, when that is known.
int failedWith(const CutoutService::Failure& failure, const std::filesystem::path& input)
{
    const QString& reason = failure.reason();
    return fail(sentence(failure.kind()), reason.isEmpty() ? std::string() : input.native() + ": " + reason.toStdString());
}

// Ends the process at once, without waiting for a network load under way
// (the first on a machine takes seconds, on a slow one minutes): what the
// load has begun to write into the model cache goes with it. After a cutout,
// the same spares taking the network's session and memory apart piece by
// piece (some 50 ms), which the system frees whole.
[[noreturn]] void endWithoutWaiting(int status)
{
    std::fflush(nullptr);
    CoreMLMatte::removeUnfinishedCache();
    std::_Exit(status);
}

} // namespace

int main(int argc, char* argv[])
{
    keepRuntimeTelemetryOff();
    tuneAllocator();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zephrin-cutout"));
    quietImageReaderWarnings();
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
    const QCommandLineOption zeroOption({QStringLiteral("z"), QStringLiteral("zero")},
                                        QStringLiteral("End the printed path with a NUL byte instead of a newline."));
    parser.addOptions({formatOption, folderOption, overwriteOption, zeroOption});
    parser.addPositionalArgument(QStringLiteral("image"), QString::fromLatin1(RemoveBackgroundIntent::imageTitle));

    // Latin-1 gives each byte a character of its own and takes it back
    // unchanged, so every argument passes the parser as the bytes it was.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLatin1(argv[i]);
    if (!parser.parse(arguments)) {
        printBytes(stderr, "zephrin-cutout: " + bytesOf(parser.errorText()));
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

    const std::filesystem::path input = bytesOf(parser.positionalArguments().constFirst());
    RemoveBackgroundIntent intent;
    intent.format = QString::fromStdString(bytesOf(parser.value(formatOption)));
    const char end = parser.isSet(zeroOption) ? '\0' : '\n';

    // Known before any work is done, so an existing file is refused at once.
    std::error_code error;
    const std::filesystem::path folder =
        parser.isSet(folderOption) ? std::filesystem::path(bytesOf(parser.value(folderOption))) : input.parent_path();
    const std::filesystem::path target =
        (std::filesystem::absolute(folder.empty() ? "." : folder, error)
         / RemoveBackgroundIntent::resultFileName(input.filename().native(),
                                                  RemoveBackgroundIntent::mappedFormat(intent.format)))
            .lexically_normal();
    const bool overwrite = parser.isSet(overwriteOption);
    const auto refuseExisting = [&] {
        printBytes(stderr, target.native() + " already exists; pass --overwrite to replace it.");
        return kFailed;
    };
    const auto cannotSave = [&](const QString& reason) {
        return fail(sentence(CutoutService::FailureKind::encodeFailed), target.native() + ": " + reason.toStdString());
    };
    if (std::filesystem::exists(target, error) && !overwrite)
        return refuseExisting();
    // A device or a pipe of that name is never replaced, asked or not.
    if (overwrite) {
        if (const QString refusal = OutputFile::replacementRefusal(target); !refusal.isEmpty())
            return cannotSave(refusal);
    }
    // A folder that is missing or cannot be written to, and a name too long
    // for it, are reported before the work rather than after it, without
    // leaving anything in the folder.
    if (const QString refusal = OutputFile::folderRefusal(target); !refusal.isEmpty())
        return cannotSave(refusal);

    IntentFile result;
    try {
        // Read, not mapped: another program may cut the file short meanwhile.
        intent.image = IntentFile{CutoutService::imageFile(input), QFile::decodeName(input.filename().c_str())};
        // A picture that will not be decoded costs no network; one that will
        // is decoded while the network loads, and one whose decode fails costs
        // what its decode costs: the load is not waited for. Otherwise leaving
        // main waits for the load.
        CutoutService::checkHeader(intent.image.data);
        const std::future<void> networkLoad = std::async(std::launch::async, [] {
            if (CoreMLMatte::isAvailable())
                CoreMLMatte::shared().ensureLoaded();
        });
        std::optional<Image> upright;
        try {
            upright = CutoutService::decodeUpright(intent.image.data);
        } catch (const CutoutService::Failure& failure) {
            endWithoutWaiting(failedWith(failure, input));
        }
        result = intent.cutout(*upright);
    } catch (const CutoutService::Failure& failure) {
        return failedWith(failure, input);
    } catch (const std::exception& exception) {
        // Out of memory and the like: nothing the request names.
        return fail(sentence(CutoutService::FailureKind::renderFailed), exception.what());
    }

    {
        // Gone before the process ends: it clears away its temporary file.
        OutputFile output(target);
        if (!output.write(result.data))
            return cannotSave(output.errorString());
        switch (output.place(overwrite)) {
        case OutputFile::Placement::placed: break;
        // Another run wrote the name since the check above.
        case OutputFile::Placement::nameTaken: return refuseExisting();
        case OutputFile::Placement::failed: return cannotSave(output.errorString());
        }
    }
    printBytes(stdout, target.native(), end);
    endWithoutWaiting(0);
}
