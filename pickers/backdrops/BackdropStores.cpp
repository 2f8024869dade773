#include "pickers/backdrops/BackdropStores.h"

#include "content/mybackgrounds/MyBackgroundsStore.h"
#include "content/photos/PhotoBackdropLibrary.h"

#include <QQmlEngine>

namespace zephrin {

BackdropStores::BackdropStores()
    : BackdropStores([]() -> PhotoBackdropLibrary& { return PhotoBackdropLibrary::shared(); },
                     []() -> MyBackgroundsStore& { return MyBackgroundsStore::shared(); })
{
}

BackdropStores::BackdropStores(std::function<PhotoBackdropLibrary&()> photos,
                               std::function<MyBackgroundsStore&()> myBackgrounds)
    : photos(std::move(photos)), myBackgrounds(std::move(myBackgrounds))
{
}

namespace {

// A singleton the engine uses but does not own.
template <typename Store>
void registerStore(const char* name, std::function<Store&()> store)
{
    qmlRegisterSingletonType<Store>("Zephrin.Content", 1, 0, name, [store](QQmlEngine*, QJSEngine*) -> QObject* {
        Store* object = &store();
        QJSEngine::setObjectOwnership(object, QJSEngine::CppOwnership);
        return object;
    });
}

} // namespace

void BackdropStores::registerForQml()
{
    registerStore("PhotoLibrary", photos);
    registerStore("MyBackgrounds", myBackgrounds);
}

void BackdropStores::addImageProviders(QQmlEngine& engine)
{
    engine.addImageProvider(QStringLiteral("backdrop"), makeBackdropProvider(generated));
    engine.addImageProvider(QStringLiteral("photo"), makePhotoProvider(photos));
    engine.addImageProvider(QStringLiteral("mybackground"), makeMyBackgroundProvider(myBackgrounds));
}

} // namespace zephrin
