#pragma once
// The backdrop pickers' stores for the QML tests and the screenshots: My
// Backgrounds in the test's data folder, and photo libraries over loopback
// servers that the tests make as they need them (the newest one answers the
// "photo" thumbnails). The singleton BackdropDriver (Zephrin.TestSupport)
// lets a test fill them and wait for them.

#include "content/support/StaticHttpServer.h"
#include "pickers/backdrops/BackdropStores.h"

#include <QObject>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>
#include <vector>

namespace zephrin {
class MyBackgroundsStore;
class PhotoBackdropLibrary;
}

namespace zephrin::testing {

class BackdropTestStores : public QObject {
    Q_OBJECT

public:
    // Points the shared stores at the test's folders: call before any store is
    // made, with XDG_DATA_HOME already private to the test.
    BackdropTestStores();
    ~BackdropTestStores() override;

    BackdropStores& stores() { return m_stores; }
    // Registers the stores and BackdropDriver for QML.
    void registerForQml();

    // A new photo library over a new server that serves `photos` (a list of
    // {id, category, location}, and `thumb: false` for a photo whose
    // thumbnail is missing) and `categories`, with a thumbnail of each; with
    // `serves` false the server answers every request with 404.
    Q_INVOKABLE QObject* newPhotoLibrary(const QVariantList& photos, const QStringList& categories, bool serves = true);
    // Adds a plain picture to My Backgrounds and waits until it is stored;
    // yields its id.
    Q_INVOKABLE QString addMyBackground(const QString& name, const QString& source, bool favorite = false);
    // Empties My Backgrounds and waits until that is written.
    Q_INVOKABLE void clearMyBackgrounds();
    // Posts a failure notice, or the store's own notice of an addition.
    Q_INVOKABLE void showNotice(const QString& text);
    Q_INVOKABLE void showAddedNotice();
    // How often the generated thumbnail of `id` was rendered.
    Q_INVOKABLE int backdropRenders(const QString& id) const;
    // Runs the event loop for a while, so stores can finish their work.
    Q_INVOKABLE void wait(int milliseconds) const;

private:
    QTemporaryDir m_served;
    std::vector<std::unique_ptr<StaticHttpServer>> m_servers;
    std::vector<std::unique_ptr<PhotoBackdropLibrary>> m_libraries;
    BackdropStores m_stores;
    int m_count = 0;
};

} // namespace zephrin::testing
