#pragma once
// The font picker's state over the font library (QML type FontPickerModel):
// the chip row, the search, the listed fonts with their favourite and
// download marks, the prompt and footer texts, what stands in place of an
// empty catalogue, and the last download failure.
//
// A click on a font downloads it and applies it to the layer that was
// selected when it was clicked: name, label and id in one write of comp.
// Clicks are numbered across all pickers; only the newest click's download is
// applied, so a slow download that finishes after a later click changes
// nothing, and a layer deleted meanwhile is not recreated. A result that
// arrives after the picker closed is still applied.

#include "content/fonts/FontItem.h"
#include "model/editor/EditorState.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <optional>

namespace zephrin {

class FontLibrary;

class FontPickerModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(zephrin::EditorState* editor READ editor WRITE setEditor NOTIFY editorChanged)
    // The id of the font the layer uses ("" for none).
    Q_PROPERTY(QString currentID READ currentID WRITE setCurrentID NOTIFY changed)
    Q_PROPERTY(QString search READ search WRITE setSearch NOTIFY changed)
    Q_PROPERTY(QString chip READ chip WRITE setChip NOTIFY changed)
    Q_PROPERTY(QStringList chips READ chips NOTIFY changed)
    // One map per listed font: id, name, category, tooltip. It changes only
    // when the listed fonts do, so a list view keeps its place; the marks of
    // a row come from isFavorite, isDownloading and isSelected, which follow
    // `revision`.
    Q_PROPERTY(QVariantList rows READ rows NOTIFY rowsChanged)
    Q_PROPERTY(int revision READ revision NOTIFY changed)
    Q_PROPERTY(QString searchPrompt READ searchPrompt NOTIFY changed)
    Q_PROPERTY(QString footer READ footer NOTIFY changed)
    // "" while the catalogue has fonts, else "failed", "loading" or "noFonts".
    Q_PROPERTY(QString emptyState READ emptyState NOTIFY changed)
    Q_PROPERTY(QString emptyText READ emptyText NOTIFY changed)
    // "Couldn't download NAME." after a failed download; "" otherwise.
    Q_PROPERTY(QString failed READ failed NOTIFY changed)

public:
    // Over the application's font library.
    explicit FontPickerModel(QObject* parent = nullptr);
    FontPickerModel(FontLibrary& library, QObject* parent = nullptr);

    EditorState* editor() const { return m_editor; }
    void setEditor(EditorState* editor);
    QString currentID() const { return m_currentID; }
    void setCurrentID(const QString& id);
    QString search() const { return m_search; }
    void setSearch(const QString& search);
    QString chip() const { return m_chip; }
    void setChip(const QString& chip);

    QStringList chips() const;
    QVariantList rows() const;
    QString searchPrompt() const;
    QString footer() const;
    QString emptyState() const;
    QString emptyText() const;
    QString failed() const { return m_failed; }
    int revision() const { return m_revision; }
    Q_INVOKABLE bool isFavorite(const QString& id) const;
    Q_INVOKABLE bool isDownloading(const QString& id) const;
    Q_INVOKABLE bool isSelected(const QString& id) const;

    // The picker was shown: loads the catalogue if needed, clears the search
    // and the last failure, and opens on Favorites when there are favourites
    // and no font is in use, else on All.
    Q_INVOKABLE void appear();
    // "Try Again".
    Q_INVOKABLE void retry();
    Q_INVOKABLE QString chipLabel(const QString& title) const;
    // A click on the font's row: download it, then apply it (see above).
    Q_INVOKABLE void pick(const QString& id);
    Q_INVOKABLE void toggleFavorite(const QString& id);

signals:
    void editorChanged();
    void changed();
    void rowsChanged();
    // A download of a click finished and was applied (or the layer was gone).
    void picked(const QString& id, const QString& fontName);

private:
    FontLibrary& library() const;
    std::optional<FontItem> item(const QString& id) const;
    void connectLibrary();
    void setFailed(const QString& text);
    // After any change: a new revision, and new rows when the listed fonts differ.
    void refresh();
    QList<FontItem> shownFonts() const;

    mutable FontLibrary* m_library = nullptr;
    QPointer<EditorState> m_editor;
    QString m_currentID;
    QString m_search;
    QString m_chip;
    QString m_failed;
    int m_revision = 0;
    QStringList m_rowIDs;
};

} // namespace zephrin
