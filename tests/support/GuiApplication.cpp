#include "support/GuiApplication.h"

#include <QGuiApplication>

namespace zephrin::testing {

void ensureGuiApplication()
{
    if (QCoreApplication::instance() != nullptr)
        return;
    // ctest sets the offscreen platform too; this covers running the binary by hand.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "engine_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing Qt down during static destruction is not safe.
    new QGuiApplication(argc, argv);
}

} // namespace zephrin::testing
