#include "pickers/backdrops/MyBackgroundsGridState.h"

#include "content/files/Trash.h"
#include "model/editor/EditorState.h"
#include "model/editor/FeedbackTexts.h"
#include "pickers/backdrops/MyBackgroundsFilters.h"

#include <QDir>

namespace zephrin {

MyBackgroundsGridState::MyBackgroundsGridState(QObject* parent) : BackdropGridState(QStringLiteral("my:"), parent) {}

QObject* MyBackgroundsGridState::storeObject() const { return m_store; }

void MyBackgroundsGridState::setStoreObject(QObject* object)
{
    auto* store = qobject_cast<MyBackgroundsStore*>(object);
    if (store == m_store)
        return;
    if (m_store)
        disconnect(m_store, nullptr, this, nullptr);
    m_store = store;
    if (store)
        connect(store, &MyBackgroundsStore::itemsChanged, this, &MyBackgroundsGridState::storeItemsChanged);
    emit storeChanged();
    storeItemsChanged();
    // The grid is made when its tab opens: the list is shown from here on.
    if (store)
        store->listShown();
}

void MyBackgroundsGridState::storeItemsChanged()
{
    setSelection(mybackgrounds::pruned(m_selection, m_store ? m_store->items() : QList<MyBackground>{}));
    updateTiles();
    emit itemsChanged();
}

void MyBackgroundsGridState::setFilter(const QString& filter)
{
    if (filter == m_filter)
        return;
    m_filter = filter;
    emit filterChanged();
    updateTiles();
}

QStringList MyBackgroundsGridState::filters() const
{
    return mybackgrounds::filters(m_store ? m_store->items() : QList<MyBackground>{});
}

void MyBackgroundsGridState::updateTiles()
{
    QList<Tile> tiles;
    if (m_store) {
        for (const MyBackground& item : mybackgrounds::visibleItems(m_store->items(), m_filter))
            tiles.append({item.id, item.name, item.prompt.value_or(item.name), item.favorite});
    }
    m_tiles.setTiles(tiles);
}

bool MyBackgroundsGridState::libraryEmpty() const
{
    return !m_store || m_store->items().isEmpty();
}

QString MyBackgroundsGridState::libraryLine() const
{
    const QList<MyBackground> items = m_store ? m_store->items() : QList<MyBackground>{};
    return backdroptexts::libraryLine(items.size(), mybackgrounds::totalBytes(items));
}

void MyBackgroundsGridState::setSelecting(bool selecting)
{
    if (selecting == m_selecting)
        return;
    m_selecting = selecting;
    emit selectingChanged();
}

QStringList MyBackgroundsGridState::selection() const
{
    QStringList ids(m_selection.begin(), m_selection.end());
    ids.sort();
    return ids;
}

QString MyBackgroundsGridState::selectedLine() const
{
    return backdroptexts::selectedLine(m_selection.size());
}

void MyBackgroundsGridState::setSelection(const QSet<QString>& selection)
{
    if (selection == m_selection)
        return;
    m_selection = selection;
    emit selectionChanged();
}

void MyBackgroundsGridState::tap(const QString& id)
{
    if (!m_selecting) {
        if (EditorState* state = editor())
            state->selectMyBackground(id);
        return;
    }
    QSet<QString> selection = m_selection;
    if (!selection.remove(id) && m_store && !mybackgrounds::pruned({id}, m_store->items()).isEmpty())
        selection.insert(id);
    setSelection(selection);
}

void MyBackgroundsGridState::finishSelecting()
{
    setSelecting(false);
    setSelection({});
}

void MyBackgroundsGridState::favoriteSelection()
{
    if (m_store && !m_selection.isEmpty())
        m_store->toggleFavorite(m_selection);
}

void MyBackgroundsGridState::askToDeleteSelection()
{
    if (m_store && !m_selection.isEmpty())
        ask(backdroptexts::DeleteScope::selection, m_selection);
}

void MyBackgroundsGridState::ask(backdroptexts::DeleteScope scope, const QSet<QString>& ids, const QString& name)
{
    QSet<QString> shown;
    for (const Tile& tile : m_tiles.tiles())
        shown.insert(tile.id);
    const bool trash = trashAvailable();
    m_pending = PendingDelete{
        ids, trash ? MyBackgroundsStore::Removal::toTrash : MyBackgroundsStore::Removal::permanently,
        backdroptexts::deleteQuestion(scope, ids.size(), ids.size() - QSet<QString>(ids).intersect(shown).size(),
                                      trash, name),
        scope != backdroptexts::DeleteScope::one};
    emit questionChanged();
}

void MyBackgroundsGridState::confirmDelete()
{
    if (!m_pending)
        return;
    const PendingDelete pending = *std::exchange(m_pending, std::nullopt);
    emit questionChanged();
    if (!m_store)
        return;
    m_store->deleteItems(pending.ids, pending.removal);
    if (pending.clearsSelection)
        setSelection({});
}

void MyBackgroundsGridState::cancelDelete()
{
    if (!m_pending)
        return;
    m_pending.reset();
    emit questionChanged();
}

void MyBackgroundsGridState::toggleFavorite(const QString& id)
{
    if (m_store)
        m_store->toggleFavorite({id});
}

void MyBackgroundsGridState::rename(const QString& id, const QString& name)
{
    if (m_store)
        m_store->rename(id, name);
}

void MyBackgroundsGridState::moveToTrash(const QString& id)
{
    if (!m_store)
        return;
    const QList<MyBackground> items = m_store->items();
    const auto item = std::find_if(items.begin(), items.end(), [&](const MyBackground& i) { return i.id == id; });
    if (item == items.end())
        return;
    // The Trash can give it back: no question, and the selection stays.
    if (trashAvailable())
        m_store->deleteItems({id});
    else
        ask(backdroptexts::DeleteScope::one, {id}, item->name);
}

void MyBackgroundsGridState::askToDeleteAll()
{
    if (!m_store || m_store->items().isEmpty())
        return;
    QSet<QString> ids;
    for (const MyBackground& item : m_store->items())
        ids.insert(item.id);
    ask(backdroptexts::DeleteScope::all, ids);
}

void MyBackgroundsGridState::revealInFolder(const QString& id) const
{
    // Only ids of the library name a file of it.
    if (!m_store || mybackgrounds::pruned({id}, m_store->items()).isEmpty())
        return;
    const QString path = QDir(m_store->root()).filePath(QStringLiteral("images/") + id + QStringLiteral(".jpg"));
    m_reveal.revealFile(path, sayWhenNotShown(path));
}

void MyBackgroundsGridState::openFolder() const
{
    if (!m_store)
        return;
    const QString path = QDir(m_store->root()).filePath(QStringLiteral("images"));
    m_reveal.openFolder(path, sayWhenNotShown(path));
}

FileReveal::Done MyBackgroundsGridState::sayWhenNotShown(const QString& path) const
{
    return offerPathWhenNotShown(editor(), feedback::notShownNotice(path), path, NoticeKind::failure);
}

} // namespace zephrin
