#include "pickers/FontPickerModel.h"

#include "content/fonts/FontLibrary.h"
#include "model/editor/EditorState.h"
#include "pickers/fonts/FontFilter.h"

#include <QFuture>

namespace zephrin {

namespace {

// The newest font click of the process; a download of an older one is dropped.
quint64 g_latestClick = 0;

QString emptyName(fontfilter::Empty state)
{
    switch (state) {
    case fontfilter::Empty::none: return {};
    case fontfilter::Empty::failed: return QStringLiteral("failed");
    case fontfilter::Empty::loading: return QStringLiteral("loading");
    case fontfilter::Empty::noFonts: return QStringLiteral("noFonts");
    }
    return {};
}

} // namespace

FontPickerModel::FontPickerModel(QObject* parent) : QObject(parent), m_chip(fontfilter::kAll) {}

FontPickerModel::FontPickerModel(FontLibrary& library, QObject* parent)
    : QObject(parent), m_library(&library), m_chip(fontfilter::kAll)
{
    connectLibrary();
}

FontLibrary& FontPickerModel::library() const
{
    // The application's library is made on first use, not when a picker is.
    if (!m_library) {
        m_library = &FontLibrary::shared();
        const_cast<FontPickerModel*>(this)->connectLibrary();
    }
    return *m_library;
}

void FontPickerModel::connectLibrary()
{
    for (auto signal : {&FontLibrary::itemsChanged, &FontLibrary::categoriesChanged, &FontLibrary::statusChanged,
                        &FontLibrary::favoritesChanged, &FontLibrary::recentsChanged,
                        &FontLibrary::downloadingChanged})
        connect(m_library, signal, this, &FontPickerModel::refresh);
}

void FontPickerModel::setEditor(EditorState* editor)
{
    if (editor == m_editor)
        return;
    m_editor = editor;
    emit editorChanged();
}

void FontPickerModel::setCurrentID(const QString& id)
{
    if (id == m_currentID)
        return;
    m_currentID = id;
    refresh();
}

void FontPickerModel::setSearch(const QString& search)
{
    if (search == m_search)
        return;
    m_search = search;
    refresh();
}

void FontPickerModel::setChip(const QString& chip)
{
    if (chip == m_chip)
        return;
    m_chip = chip;
    refresh();
}

void FontPickerModel::setFailed(const QString& text)
{
    if (text == m_failed)
        return;
    m_failed = text;
    refresh();
}

QStringList FontPickerModel::chips() const
{
    return fontfilter::chipTitles(library().categories());
}

QString FontPickerModel::chipLabel(const QString& title) const
{
    return fontfilter::chipLabel(title);
}

QList<FontItem> FontPickerModel::shownFonts() const
{
    const FontLibrary& lib = library();
    return fontfilter::shown(lib.items(), lib.favorites(), lib.recents(), m_chip, m_search);
}

void FontPickerModel::refresh()
{
    ++m_revision;
    emit changed();
    QStringList ids;
    for (const FontItem& font : shownFonts())
        ids.append(font.id);
    if (ids != m_rowIDs) {
        m_rowIDs = ids;
        emit rowsChanged();
    }
}

QVariantList FontPickerModel::rows() const
{
    QVariantList list;
    for (const FontItem& font : shownFonts()) {
        list.append(QVariantMap{{QStringLiteral("id"), font.id},
                                {QStringLiteral("name"), font.name},
                                {QStringLiteral("category"), font.category},
                                {QStringLiteral("tooltip"), font.name + QStringLiteral(" · ") + font.category}});
    }
    return list;
}

bool FontPickerModel::isFavorite(const QString& id) const
{
    return library().favorites().contains(id);
}

bool FontPickerModel::isDownloading(const QString& id) const
{
    return library().downloading().contains(id);
}

bool FontPickerModel::isSelected(const QString& id) const
{
    return !m_currentID.isEmpty() && m_currentID == id;
}

QString FontPickerModel::searchPrompt() const
{
    return fontfilter::searchPrompt(library().items().size());
}

QString FontPickerModel::footer() const
{
    return fontfilter::footer(m_chip, shownFonts().size());
}

QString FontPickerModel::emptyState() const
{
    return emptyName(fontfilter::emptyState(library().status(), library().items().isEmpty()));
}

QString FontPickerModel::emptyText() const
{
    return fontfilter::emptyText(fontfilter::emptyState(library().status(), library().items().isEmpty()),
                                 library().failureMessage());
}

void FontPickerModel::appear()
{
    library().loadIfNeeded();
    // Each showing starts afresh, as a new picker would (also for another layer).
    m_search.clear();
    m_failed.clear();
    m_chip = fontfilter::openingChip(fontfilter::kAll, !library().favorites().isEmpty(), !m_currentID.isEmpty());
    refresh();
}

void FontPickerModel::retry()
{
    library().loadIfNeeded();
}

std::optional<FontItem> FontPickerModel::item(const QString& id) const
{
    for (const FontItem& font : library().items())
        if (font.id == id)
            return font;
    return std::nullopt;
}

void FontPickerModel::pick(const QString& id)
{
    const auto font = item(id);
    if (!font)
        return;
    const quint64 click = ++g_latestClick;
    const QUuid target = m_editor ? m_editor->selectedTextID() : QUuid();
    QPointer<FontPickerModel> self(this);
    QPointer<EditorState> editor(m_editor);
    FontLibrary* lib = &library();
    // The library outlives every picker; the continuation runs on its thread.
    library().download(*font).then(lib, [self, editor, lib, click, target, font = *font](
                                             QFuture<std::optional<QString>> done) {
        if (click != g_latestClick)
            return;
        const std::optional<QString> name =
            done.isValid() && done.resultCount() > 0 ? done.result() : std::optional<QString>();
        if (!name) {
            if (self)
                self->setFailed(QStringLiteral("Couldn't download %1.").arg(font.name));
            return;
        }
        if (self)
            self->setFailed({});
        if (editor) {
            editor->updateTextLayer(target, [&](TextLayer& layer) {
                layer.fontName = *name;
                layer.fontLabel = font.name;
                layer.fontID = font.id;
            });
        }
        lib->noteRecent(font.id);
        if (self)
            emit self->picked(font.id, *name);
    });
}

void FontPickerModel::toggleFavorite(const QString& id)
{
    if (const auto font = item(id))
        library().toggleFavorite(*font);
}

} // namespace zephrin
