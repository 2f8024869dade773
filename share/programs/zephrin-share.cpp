// zephrin-share: the "Open with" target that hands images to Zephrin.
//
//   zephrin-share [--print-url] ITEM...
//   zephrin-share --help
//
// ITEM is a file path, a file: URL, or "-" for image data on standard input;
// after "--" an item that begins with a dash is a file name too. The first
// usable image is copied unchanged into the inbox, and Zephrin is opened
// with zephrin://open?file=NAME (the zephrin executable beside this one when
// there is one, otherwise through xdg-open and the URL's handler).
// --print-url prints the URL instead of opening it; --help prints the usage.
// Exit status: 0 when an image was handed off (or the usage printed); 1 with
// the reasons on standard error when nothing could be or the command line is
// wrong; 2 when the image waits in the inbox but Zephrin could not be opened
// (Zephrin takes it on its next start).

#include "share/handoff/ShareHandOff.h"
#include "share/inbox/InboxFolder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>

namespace {

void printError(const QString& text)
{
    std::fprintf(stderr, "zephrin-share: %s\n", qUtf8Printable(text));
}

bool openZephrin(const QUrl& url)
{
    const QString sibling = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("zephrin"));
    if (QFileInfo(sibling).isExecutable())
        return QProcess::startDetached(sibling, {url.toString(QUrl::FullyEncoded)});
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zephrin-share"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Hands the first usable image to Zephrin: a copy waits in Zephrin's inbox, and Zephrin "
                       "opens it (or takes it on its next start)."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption printUrlOption(QStringLiteral("print-url"),
                                            QStringLiteral("Print the hand-off URL instead of opening Zephrin."));
    parser.addOption(printUrlOption);
    parser.addPositionalArgument(QStringLiteral("items"),
                                 QStringLiteral("Image files, file: URLs, or - for image data on standard input. "
                                                "Put -- before a file name that begins with a dash."),
                                 QStringLiteral("FILE|URL|- ..."));
    if (!parser.parse(QCoreApplication::arguments())) {
        printError(parser.errorText());
        std::fprintf(stderr, "Try 'zephrin-share --help'.\n");
        return 1;
    }
    if (parser.isSet(helpOption))
        parser.showHelp(0);
    const QStringList items = parser.positionalArguments();
    const bool printUrl = parser.isSet(printUrlOption);
    if (items.isEmpty()) {
        printError(QStringLiteral("nothing to share"));
        std::fprintf(stderr, "Try 'zephrin-share --help'.\n");
        return 1;
    }

    QFile standardInput;
    standardInput.open(stdin, QIODevice::ReadOnly);
    const zephrin::HandOffResult result =
        zephrin::handOffFirstImage(items, zephrin::sharedInboxFolder(), &standardInput);
    if (!result.url) {
        printError(QStringLiteral("no image could be handed to Zephrin:"));
        for (const QString& problem : result.problems)
            std::fprintf(stderr, "  %s\n", qUtf8Printable(problem));
        return 1;
    }

    if (printUrl) {
        std::printf("%s\n", qUtf8Printable(result.url->toString(QUrl::FullyEncoded)));
        return 0;
    }
    if (!openZephrin(*result.url)) {
        printError(QStringLiteral("the image waits in the inbox, but Zephrin could not be opened; "
                                  "it takes the image on its next start"));
        return 2;
    }
    return 0;
}
