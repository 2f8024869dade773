// The thumbnail providers' requests still waiting for their store when the tile
// or the engine that asked goes: Qt Quick keeps a provider for as long as any
// response of it lives, so a response left behind keeps both until the process
// ends.

#include "content/support/Waiting.h"
#include "pickers/backdrops/ThumbnailProviders.h"
#include "support/GuiApplication.h"

#include <QPromise>
#include <QQmlComponent>
#include <QQmlEngine>

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <memory>

namespace zephrin {
namespace {

using namespace zephrin::testing;

// An engine with one tile whose thumbnail the store has not delivered yet.
class WaitingThumbnail : public ::testing::Test {
protected:
    WaitingThumbnail()
    {
        ensureGuiApplication();
        engine = std::make_unique<QQmlEngine>();
        store.start();
        auto* provider = new StoreImageProvider([this](const QString&) {
            ++asked;
            return store.future();
        });
        // The provider goes on whichever thread lets go of it last.
        QObject::connect(provider, &QObject::destroyed, [this] { providerGone = true; });
        engine->addImageProvider(QStringLiteral("thumbs"), provider);
        QQmlComponent component(engine.get());
        component.setData("import QtQuick\nImage { asynchronous: true; source: 'image://thumbs/a' }", QUrl());
        tile.reset(component.create());
        EXPECT_TRUE(tile) << component.errorString().toStdString();
        EXPECT_TRUE(waitUntil([&] { return asked == 1; }));
    }

    ~WaitingThumbnail() override
    {
        tile.reset();
        engine.reset();
        // The store's answer comes late and goes nowhere.
        store.addResult(QImage(8, 8, QImage::Format_RGB32));
        store.finish();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QPromise<QImage> store;
    int asked = 0;
    std::atomic<bool> providerGone = false;
    std::unique_ptr<QQmlEngine> engine;
    std::unique_ptr<QObject> tile;
};

TEST_F(WaitingThumbnail, GoesWithItsEngine)
{
    tile.reset();
    engine.reset();
    EXPECT_TRUE(waitUntil([&] { return providerGone.load(); }));
}

TEST_F(WaitingThumbnail, GoesWithItsTileWithoutWaitingForTheStore)
{
    // Without the engine's own hold, only the response keeps the provider.
    engine->removeImageProvider(QStringLiteral("thumbs"));
    EXPECT_FALSE(providerGone.load());
    tile.reset();
    EXPECT_TRUE(waitUntil([&] { return providerGone.load(); }));
    EXPECT_EQ(asked, 1);
}

// A thumbnail still waiting when the application ends: the event that holds
// its store is dropped as the application goes, which cancels the fetch.
TEST(StoreImageProviderDeath, AFetchCancelledAsTheApplicationEndsLetsItEnd)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            alarm(60); // a process that cannot end is killed, and fails the test
            ensureGuiApplication();
            auto store = std::make_shared<QPromise<QImage>>();
            store->start();
            StoreImageProvider provider([future = store->future()](const QString&) { return future; });
            std::unique_ptr<QQuickImageResponse> response(provider.requestImageResponse(QStringLiteral("a"), {}));
            QCoreApplication::sendPostedEvents(); // the fetch begins
            // Posted to an object that outlives the application, as a store's own is.
            QMetaObject::invokeMethod(new QObject, [held = std::move(store)] {}, Qt::QueuedConnection);
            delete qApp;
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace zephrin
