#include "pickers/backdrops/GeneratedGridState.h"

#include "content/backdrops/Backdrop.h"
#include "content/mybackgrounds/MyBackgroundsStore.h"
#include "model/editor/EditorState.h"
#include "pickers/backdrops/BackdropTexts.h"

namespace zephrin {

GeneratedGridState::GeneratedGridState(QObject* parent)
    : BackdropGridState(QString(), parent), m_category(rawValue(BackdropCategory::studio))
{
    connect(this, &BackdropGridState::editorChanged, this, [this] {
        if (EditorState* state = editor())
            connect(state, &EditorState::customBackdropShapeChanged, this, &GeneratedGridState::colorLabelsChanged,
                    Qt::UniqueConnection);
        emit colorLabelsChanged();
    });
    updateTiles();
}

QObject* GeneratedGridState::storeObject() const { return m_store; }

void GeneratedGridState::setStoreObject(QObject* object)
{
    auto* store = qobject_cast<MyBackgroundsStore*>(object);
    if (store == m_store)
        return;
    m_store = store;
    emit storeChanged();
}

void GeneratedGridState::setCategory(const QString& category)
{
    if (category == m_category || !fromRaw<BackdropCategory>(category))
        return;
    m_category = category;
    emit categoryChanged();
    updateTiles();
}

QStringList GeneratedGridState::categories()
{
    QStringList titles;
    for (BackdropCategory category : allCases<BackdropCategory>())
        titles << rawValue(category);
    return titles;
}

QStringList GeneratedGridState::shapes()
{
    QStringList titles;
    for (CustomBackdropShape shape : allCases<CustomBackdropShape>())
        titles << rawValue(shape);
    return titles;
}

bool GeneratedGridState::showsCustomEditor() const
{
    return m_category == rawValue(BackdropCategory::gradient);
}

QStringList GeneratedGridState::colorLabels() const
{
    return backdroptexts::customColorLabels(editor() ? editor()->customBackdropShape() : CustomBackdropShape::fade);
}

void GeneratedGridState::updateTiles()
{
    QList<Tile> tiles;
    for (const Backdrop& backdrop : Backdrop::presets())
        if (rawValue(backdrop.category) == m_category)
            tiles.append({backdrop.id, backdrop.name, backdrop.name, false});
    m_tiles.setTiles(tiles);
}

void GeneratedGridState::addToMyBackgrounds(const QString& id)
{
    if (!m_store)
        return;
    for (const Backdrop& backdrop : Backdrop::presets())
        if (backdrop.id == id)
            m_store->addFromBackdrop(backdrop);
}

} // namespace zephrin
