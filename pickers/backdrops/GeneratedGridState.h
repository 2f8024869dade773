#pragma once
// The generated grid's own state: the chosen category (a new grid starts on
// "Studio") and its tiles, the labels of the custom gradient's colour rows,
// and "Add to My Backgrounds" for a preset.

#include "pickers/backdrops/BackdropGridState.h"
#include "pickers/backdrops/TileList.h"

#include <QPointer>
#include <QStringList>

namespace zephrin {

class MyBackgroundsStore;

class GeneratedGridState : public BackdropGridState {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QObject* store READ storeObject WRITE setStoreObject NOTIFY storeChanged)
    Q_PROPERTY(QString category READ category WRITE setCategory NOTIFY categoryChanged)
    Q_PROPERTY(QStringList categories READ categories CONSTANT)
    Q_PROPERTY(zephrin::TileList* tiles READ tiles CONSTANT)
    Q_PROPERTY(bool showsCustomEditor READ showsCustomEditor NOTIFY categoryChanged)
    Q_PROPERTY(QStringList colorLabels READ colorLabels NOTIFY colorLabelsChanged)
    Q_PROPERTY(QStringList shapes READ shapes CONSTANT)

public:
    explicit GeneratedGridState(QObject* parent = nullptr);

    QObject* storeObject() const;
    void setStoreObject(QObject* store);
    QString category() const { return m_category; }
    void setCategory(const QString& category);
    static QStringList categories();
    TileList* tiles() { return &m_tiles; }
    bool showsCustomEditor() const;
    QStringList colorLabels() const;
    static QStringList shapes();

    // Renders the preset at full size into My Backgrounds; the store reports
    // the outcome in its notice. Goes on when the grid goes.
    Q_INVOKABLE void addToMyBackgrounds(const QString& id);

signals:
    void storeChanged();
    void categoryChanged();
    void colorLabelsChanged();

private:
    void updateTiles();

    QPointer<MyBackgroundsStore> m_store;
    QString m_category;
    TileList m_tiles{this};
};

} // namespace zephrin
