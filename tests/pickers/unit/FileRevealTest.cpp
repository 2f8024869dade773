// Asking the file manager to show files: what the bus helper is asked and
// what its answer means, and a session bus that is there but never answers,
// where the caller gets its event loop back at once and hears "not shown"
// once the call's time is up.

#include "content/support/Waiting.h"
#include "pickers/backdrops/FileReveal.h"
#include "support/GuiApplication.h"
#include "support/ScopedEnvironment.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdio>
#include <optional>

namespace zephrin {
namespace {

using namespace zephrin::testing;

// The helper is asked for the file manager's ShowItems with every URI as one
// array item (a comma inside a name must not split it), and its exit status
// says whether the file manager answered.
TEST(FileRevealBus, AsksTheFileManagerThroughTheBusHelper)
{
    ensureGuiApplication();
    QTemporaryDir bin;
    const ScopedEnvironment onlyTheHelper("PATH", qPrintable(bin.path()));
    const auto helper = [&](const char* status) {
        QFile script(bin.filePath("dbus-send"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
        script.write("#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"" + bin.filePath("args").toUtf8() +
                     "\"\nexit " + status + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    };
    const auto show = [](const QStringList& uris) {
        std::optional<bool> result;
        FileReveal::dbusShowItems(uris, [&](bool shown) { result = shown; });
        EXPECT_TRUE(waitUntil([&] { return result.has_value(); }));
        return result.value_or(true);
    };

    helper("0");
    EXPECT_TRUE(show({"file:///home/ana/a,b.jpg", "file:///home/ana/c.jpg"}));
    QFile args(bin.filePath("args"));
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    const QStringList asked = QString::fromUtf8(args.readAll()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GE(asked.size(), 3);
    EXPECT_TRUE(asked.contains("--dest=org.freedesktop.FileManager1"));
    EXPECT_EQ(asked.mid(asked.size() - 3),
              (QStringList{"org.freedesktop.FileManager1.ShowItems",
                           "array:string:file:///home/ana/a%2Cb.jpg,file:///home/ana/c.jpg", "string:"}));

    helper("1");  // no file manager on the bus
    EXPECT_FALSE(show({"file:///home/ana/c.jpg"}));
    QFile::remove(bin.filePath("dbus-send"));
    EXPECT_FALSE(show({"file:///home/ana/c.jpg"}));  // no helper at all
}

TEST(FileRevealBus, AHungSessionBusNeverHoldsTheCaller)
{
    ensureGuiApplication();
    QTemporaryDir dir;
    // A bus that takes the connection and never says a word.
    QLocalServer bus;
    ASSERT_TRUE(bus.listen(dir.filePath("bus")));
    const ScopedEnvironment address("DBUS_SESSION_BUS_ADDRESS", qPrintable("unix:path=" + dir.filePath("bus")));

    std::optional<bool> shown;
    QElapsedTimer held;
    held.start();
    FileReveal::dbusShowItems({QUrl::fromLocalFile(dir.filePath("a.jpg")).toString()},
                              [&](bool answer) { shown = answer; });
    // Measured by hand, never asserted: how long the caller was held.
    std::fprintf(stderr, "reveal held the caller for %lld ms\n", static_cast<long long>(held.elapsed()));
    EXPECT_FALSE(shown.has_value()) << "answered before the caller's event loop ran again";

    // Well before the bus library's own limit (25 s) gives up.
    EXPECT_TRUE(waitUntil([&] { return shown.has_value(); }, FileReveal::kCallTimeout * 2));
    EXPECT_EQ(shown, std::optional(false));

    // The connection attempt still waiting on the bus ends when it goes.
    bus.close();
    while (QLocalSocket* peer = bus.nextPendingConnection())
        delete peer;
}

} // namespace
} // namespace zephrin
