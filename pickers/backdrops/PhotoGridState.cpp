#include "pickers/backdrops/PhotoGridState.h"

#include "content/mybackgrounds/MyBackgroundsStore.h"
#include "content/photos/PhotoBackdropLibrary.h"
#include "pickers/backdrops/BackdropTexts.h"

namespace zephrin {

namespace {
using Phase = PhotoLibraryStatus::Phase;
} // namespace

PhotoGridState::PhotoGridState(QObject* parent)
    : BackdropGridState(QStringLiteral("photo:"), parent), m_category(PhotoBackdropLibrary::allCategory)
{
}

QObject* PhotoGridState::libraryObject() const { return m_library; }
QObject* PhotoGridState::storeObject() const { return m_store; }

void PhotoGridState::setLibraryObject(QObject* object)
{
    auto* library = qobject_cast<PhotoBackdropLibrary*>(object);
    if (library == m_library)
        return;
    if (m_library)
        disconnect(m_library, nullptr, this, nullptr);
    m_library = library;
    if (library) {
        connect(library, &PhotoBackdropLibrary::itemsChanged, this, &PhotoGridState::update);
        connect(library, &PhotoBackdropLibrary::statusChanged, this, &PhotoGridState::update);
        connect(library, &PhotoBackdropLibrary::categoriesChanged, this, &PhotoGridState::categoriesChanged);
    }
    emit libraryChanged();
    emit categoriesChanged();
    update();
}

void PhotoGridState::setStoreObject(QObject* object)
{
    auto* store = qobject_cast<MyBackgroundsStore*>(object);
    if (store == m_store)
        return;
    m_store = store;
    emit storeChanged();
}

void PhotoGridState::setCategory(const QString& category)
{
    if (category == m_category)
        return;
    m_category = category;
    emit categoryChanged();
    update();
}

QStringList PhotoGridState::categories() const
{
    return m_library ? m_library->categories() : QStringList{PhotoBackdropLibrary::allCategory};
}

QString PhotoGridState::countLine() const
{
    return backdroptexts::photoCountLine(m_tiles.count());
}

void PhotoGridState::loadIfNeeded()
{
    if (!m_library)
        return;
    const Phase phase = m_library->status().phase;
    if (phase == Phase::loading || phase == Phase::ready)
        return;
    startLoad();
}

void PhotoGridState::retry()
{
    if (!m_library)
        return;
    const Phase phase = m_library->status().phase;
    if (phase == Phase::loading || (phase == Phase::ready && !m_library->items().isEmpty()))
        return;
    startLoad();
}

void PhotoGridState::startLoad()
{
    // Loading is set before the refresh starts, so a second appearance or click
    // meanwhile starts no second one.
    m_library->setStatus({Phase::loading, {}});
    m_library->refresh();
}

void PhotoGridState::update()
{
    QList<Tile> tiles;
    if (m_library) {
        for (const PhotoBackdrop& photo : m_library->items(m_category)) {
            const QString name = backdroptexts::photoDisplayName(photo.location);
            tiles.append({photo.id, name, name, false});
        }
    }
    const int before = m_tiles.count();
    m_tiles.setTiles(tiles);
    if (m_tiles.count() != before)
        emit countLineChanged();

    QString content = QStringLiteral("grid");
    QString message;
    if (!m_library || m_library->items().isEmpty()) {
        const PhotoLibraryStatus status = m_library ? m_library->status() : PhotoLibraryStatus{};
        if (status.phase == Phase::failed) {
            content = QStringLiteral("failed");
            message = status.message;
        } else if (status.phase == Phase::ready) {
            content = QStringLiteral("empty");
            message = QStringLiteral("No photos available.");
        } else {
            content = QStringLiteral("loading");
        }
    }
    if (content == m_content && message == m_message)
        return;
    m_content = content;
    m_message = message;
    emit contentChanged();
}

void PhotoGridState::addToMyBackgrounds(const QString& id)
{
    if (!m_library || !m_store)
        return;
    QString name;
    for (const PhotoBackdrop& photo : m_library->items())
        if (photo.id == id)
            name = backdroptexts::photoDisplayName(photo.location);
    // Both futures finish on the GUI thread; the store is the context, so the
    // addition outlives this grid but not the store.
    MyBackgroundsStore* store = m_store;
    m_library->fullImage(id).then(store, [store, name](const std::optional<Image>& picture) {
        if (!picture) {
            store->showNotice(QStringLiteral("Couldn't download that photo."));
            return;
        }
        store->add(*picture, name, QStringLiteral("saved")).then(store, [store](const std::optional<QString>& added) {
            if (added)
                store->showAddedNotice();
        });
    });
}

} // namespace zephrin
