#pragma once
// The photo grid's own state over the photo library: the chosen category, the
// tiles it shows and which of its contents is on screen. A new grid starts on
// "All"; the catalogue is loaded when a grid appears and the library has
// none yet (or its last load failed), and "Try Again" loads it again.
//
// Contents: "failed" (no photos, the load failed: its message and Try Again),
// "empty" (the catalogue loaded but lists no photos: "No photos available."
// and Try Again), "loading" (no photos yet), "grid".

#include "pickers/backdrops/BackdropGridState.h"
#include "pickers/backdrops/TileList.h"

#include <QPointer>
#include <QStringList>

namespace zephrin {

class MyBackgroundsStore;
class PhotoBackdropLibrary;

class PhotoGridState : public BackdropGridState {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QObject* library READ libraryObject WRITE setLibraryObject NOTIFY libraryChanged)
    Q_PROPERTY(QObject* store READ storeObject WRITE setStoreObject NOTIFY storeChanged)
    Q_PROPERTY(QString category READ category WRITE setCategory NOTIFY categoryChanged)
    Q_PROPERTY(QStringList categories READ categories NOTIFY categoriesChanged)
    Q_PROPERTY(zephrin::TileList* tiles READ tiles CONSTANT)
    Q_PROPERTY(QString content READ content NOTIFY contentChanged)
    Q_PROPERTY(QString message READ message NOTIFY contentChanged)
    Q_PROPERTY(QString countLine READ countLine NOTIFY countLineChanged)

public:
    explicit PhotoGridState(QObject* parent = nullptr);

    QObject* libraryObject() const;
    void setLibraryObject(QObject* library);
    QObject* storeObject() const;
    void setStoreObject(QObject* store);

    QString category() const { return m_category; }
    void setCategory(const QString& category);
    QStringList categories() const;
    TileList* tiles() { return &m_tiles; }
    QString content() const { return m_content; }
    QString message() const { return m_message; }
    QString countLine() const;

    // On appearance: loads the catalogue unless it is loading or loaded.
    Q_INVOKABLE void loadIfNeeded();
    // "Try Again": as loadIfNeeded, and also when a loaded catalogue was empty.
    Q_INVOKABLE void retry();
    // Keeps the full photo in My Backgrounds under the tile's name; reports
    // through the store's notice. Goes on when the grid goes.
    Q_INVOKABLE void addToMyBackgrounds(const QString& id);

signals:
    void libraryChanged();
    void storeChanged();
    void categoryChanged();
    void categoriesChanged();
    void contentChanged();
    void countLineChanged();

private:
    void startLoad();
    void update();

    QPointer<PhotoBackdropLibrary> m_library;
    QPointer<MyBackgroundsStore> m_store;
    QString m_category;
    TileList m_tiles{this};
    QString m_content = QStringLiteral("loading");
    QString m_message;
};

} // namespace zephrin
