#pragma once
// ShapeThumb (QML): one label shape's outline filled with one colour, fitted
// into the item. ShapeCatalogue (QML singleton): the gallery's groups and
// kinds, and a kind's name.

#include <QColor>
#include <QObject>
#include <QQuickPaintedItem>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace zephrin {

class ShapeThumb : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString kind READ kind WRITE setKind NOTIFY kindChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)

public:
    explicit ShapeThumb(QQuickItem* parent = nullptr);

    QString kind() const { return m_kind; }
    void setKind(const QString& kind);
    QColor color() const { return m_color; }
    void setColor(const QColor& color);

    void paint(QPainter* painter) override;

signals:
    void kindChanged();
    void colorChanged();

private:
    QString m_kind;
    QColor m_color;
};

class ShapeCatalogue : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QStringList groups READ groups CONSTANT)

public:
    using QObject::QObject;
    QStringList groups() const;
    // The kinds of a group, in catalogue order: maps of id and name.
    Q_INVOKABLE QVariantList kinds(const QString& group) const;
    // The name of the kind with exactly that id; "" when there is none.
    Q_INVOKABLE QString name(const QString& id) const;
};

} // namespace zephrin
