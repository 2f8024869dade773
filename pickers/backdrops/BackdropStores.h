#pragma once
// The content stores of the backdrop pickers as QML sees them: the photo
// library and My Backgrounds as singletons PhotoLibrary and MyBackgrounds
// (module Zephrin.Content), and the three thumbnail providers ("backdrop",
// "photo", "mybackground"). Each store is reached through a function and so
// made on first use (My Backgrounds reads its library then), not at launch.
// The application builds one set over the shared stores; tests build theirs
// over stores of their own.

#include "pickers/backdrops/ThumbnailProviders.h"

#include <functional>

class QQmlEngine;

namespace zephrin {

class MyBackgroundsStore;
class PhotoBackdropLibrary;

struct BackdropStores {
    std::function<PhotoBackdropLibrary&()> photos;
    std::function<MyBackgroundsStore&()> myBackgrounds;
    BackdropThumbnails generated;

    // Over the application's shared stores.
    BackdropStores();
    BackdropStores(std::function<PhotoBackdropLibrary&()> photos, std::function<MyBackgroundsStore&()> myBackgrounds);

    // Registers the singletons; call once, before the first QML engine loads.
    void registerForQml();
    // Gives an engine the thumbnail providers (it owns them).
    void addImageProviders(QQmlEngine& engine);
};

} // namespace zephrin
