#pragma once
// The My Backgrounds grid's own state over the store: the filter, selection
// mode with its selection, and the grid's requests (favourite, rename, reveal,
// Trash). A new grid starts on "All", outside selection mode, with nothing
// selected. The selection only ever holds ids of items in the library: it is
// pruned whenever the library changes, however an item went.
//
// Deleting the selection or the whole library asks first (the question says
// how many go, and how many of them the filter hides); one item's "Move to
// Trash" asks only where there is no Trash. Without a Trash every question
// says that the delete is for good. `asking` is true while a question waits
// for confirmDelete() or cancelDelete().

#include "content/mybackgrounds/MyBackgroundsStore.h"
#include "pickers/backdrops/BackdropGridState.h"
#include "pickers/backdrops/BackdropTexts.h"
#include "pickers/backdrops/FileReveal.h"
#include "pickers/backdrops/TileList.h"

#include <QPointer>
#include <QSet>
#include <QStringList>

#include <optional>

namespace zephrin {

class MyBackgroundsGridState : public BackdropGridState {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QObject* store READ storeObject WRITE setStoreObject NOTIFY storeChanged)
    Q_PROPERTY(QString filter READ filter WRITE setFilter NOTIFY filterChanged)
    Q_PROPERTY(QStringList filters READ filters NOTIFY itemsChanged)
    Q_PROPERTY(zephrin::TileList* tiles READ tiles CONSTANT)
    Q_PROPERTY(bool libraryEmpty READ libraryEmpty NOTIFY itemsChanged)
    Q_PROPERTY(QString libraryLine READ libraryLine NOTIFY itemsChanged)
    Q_PROPERTY(bool selecting READ selecting WRITE setSelecting NOTIFY selectingChanged)
    Q_PROPERTY(QStringList selection READ selection NOTIFY selectionChanged)
    Q_PROPERTY(QString selectedLine READ selectedLine NOTIFY selectionChanged)
    Q_PROPERTY(bool asking READ asking NOTIFY questionChanged)
    Q_PROPERTY(QString questionTitle READ questionTitle NOTIFY questionChanged)
    Q_PROPERTY(QString questionMessage READ questionMessage NOTIFY questionChanged)
    Q_PROPERTY(QString questionAccept READ questionAccept NOTIFY questionChanged)

public:
    explicit MyBackgroundsGridState(QObject* parent = nullptr);

    QObject* storeObject() const;
    void setStoreObject(QObject* store);
    QString filter() const { return m_filter; }
    void setFilter(const QString& filter);
    QStringList filters() const;
    TileList* tiles() { return &m_tiles; }
    bool libraryEmpty() const;
    QString libraryLine() const;
    bool selecting() const { return m_selecting; }
    void setSelecting(bool selecting);
    QStringList selection() const;
    QString selectedLine() const;
    const QSet<QString>& selectionSet() const { return m_selection; }
    bool asking() const { return m_pending.has_value(); }
    QString questionTitle() const { return m_pending ? m_pending->question.title : QString(); }
    QString questionMessage() const { return m_pending ? m_pending->question.message : QString(); }
    QString questionAccept() const { return m_pending ? m_pending->question.acceptText : QString(); }

    // How "Show in Folder" and "Show Folder" reach the desktop.
    void setFileReveal(FileReveal reveal) { m_reveal = std::move(reveal); }

    // A tile's click: in selection mode it checks or unchecks the item,
    // otherwise it makes the item the editor's backdrop.
    Q_INVOKABLE void tap(const QString& id);
    // "Done": leaves selection mode with nothing selected.
    Q_INVOKABLE void finishSelecting();
    // The header's "Favorite" and "Delete" over the selection ("Delete" asks,
    // and once confirmed also empties it).
    Q_INVOKABLE void favoriteSelection();
    Q_INVOKABLE void askToDeleteSelection();
    // A tile's context menu.
    Q_INVOKABLE void toggleFavorite(const QString& id);
    Q_INVOKABLE void rename(const QString& id, const QString& name);
    Q_INVOKABLE void moveToTrash(const QString& id);
    Q_INVOKABLE void revealInFolder(const QString& id) const;
    // "Delete All…" (asks; once confirmed it also empties the selection) and
    // "Show Folder". Where no file manager can show the file or folder, the
    // editor's notice names it in full and offers to copy its path.
    Q_INVOKABLE void askToDeleteAll();
    Q_INVOKABLE void openFolder() const;
    // The answer to the waiting question.
    Q_INVOKABLE void confirmDelete();
    Q_INVOKABLE void cancelDelete();

signals:
    void storeChanged();
    void filterChanged();
    void itemsChanged();
    void selectingChanged();
    void selectionChanged();
    void questionChanged();

private:
    struct PendingDelete {
        QSet<QString> ids;
        MyBackgroundsStore::Removal removal = MyBackgroundsStore::Removal::toTrash;
        backdroptexts::DeleteQuestion question;
        bool clearsSelection = true;  // a delete of the selection or of all
    };

    void storeItemsChanged();
    void updateTiles();
    void setSelection(const QSet<QString>& selection);
    void ask(backdroptexts::DeleteScope scope, const QSet<QString>& ids, const QString& name = {});
    // Posts the editor's notice when nothing showed `path`.
    FileReveal::Done sayWhenNotShown(const QString& path) const;

    QPointer<MyBackgroundsStore> m_store;
    QString m_filter = QStringLiteral("All");
    TileList m_tiles{this};
    bool m_selecting = false;
    QSet<QString> m_selection;
    FileReveal m_reveal;
    std::optional<PendingDelete> m_pending;
};

} // namespace zephrin
