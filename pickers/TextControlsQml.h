#pragma once
// TextControls, the QML face of TextLayerControls: slider ranges, value texts
// and the effect chips' colour rule for the text panel.

#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

namespace zephrin {

class TextControlsQml : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(TextControls)
    QML_SINGLETON
    Q_PROPERTY(QStringList effects READ effects CONSTANT)

public:
    using QObject::QObject;

    QStringList effects() const;
    // { from, to, stepSize, scale } of a field's slider; empty for another field.
    Q_INVOKABLE QVariantMap slider(const QString& field) const;
    Q_INVOKABLE QString valueText(const QString& field, double shown) const;
    Q_INVOKABLE QString effectTitle(const QString& effect) const;
    // The colour to write after choosing the effect; undefined to leave it.
    Q_INVOKABLE QVariant effectColorFor(const QString& effect, const QVariant& current) const;
};

} // namespace zephrin
