// zephrin-share: the "Open with" target that hands images to Zephrin.
//
//   zephrin-share [--print-url] ITEM...
//
// ITEM is a file path, a file: URL, or "-" for image data on standard input.
// The first usable image is copied unchanged into the inbox, and Zephrin is
// opened with zephrin://open?file=NAME (the zephrin executable beside this
// one when there is one, otherwise through xdg-open and the URL's handler).
// --print-url prints the URL instead of opening it. Exit status: 0 when an
// image was handed off; 1 with the reasons on standard error when nothing
// could be; 2 when the image waits in the inbox but Zephrin could not be
// opened (Zephrin takes it on its next start).

#include "share/handoff/ShareHandOff.h"
#include "share/inbox/InboxFolder.h"

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

    QStringList items = QCoreApplication::arguments().mid(1);
    const bool printUrl = items.removeAll(QStringLiteral("--print-url")) > 0;
    if (items.isEmpty()) {
        printError(QStringLiteral("nothing to share; usage: zephrin-share [--print-url] FILE|URL|- ..."));
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
