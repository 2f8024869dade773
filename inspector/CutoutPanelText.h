#pragma once
// The texts of the cutout panel that follow the editor's state: what the
// chosen method and model do, the run button's title, the edge cards, and the
// value texts of the panel's sliders. QML reaches it as the singleton
// CutoutText; enumerations arrive as the labels the editor gives QML.

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace zephrin {

class CutoutPanelText : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(CutoutText)
    QML_SINGLETON

public:
    using QObject::QObject;

    // Under the method chips ("Auto Subject" or "Flat Color").
    Q_INVOKABLE QString methodDescription(const QString& method) const;
    // Under the model chips ("Subject Lift" or "IS-Net").
    Q_INVOKABLE QString modelDescription(const QString& model) const;
    // In place of the model chips when only the subject lift can run.
    Q_INVOKABLE QString modelUnavailable() const;
    // "Auto Subject", or "Remove Background Color" for flat colour.
    Q_INVOKABLE QString runTitle(const QString& method) const;
    // The edge cards: "smooth" → "Smooth" and its symbol.
    Q_INVOKABLE QString edgeTitle(const QString& mode) const;
    Q_INVOKABLE QString edgeSymbol(const QString& mode) const;

    // "25"; "Off" below 0.5, else "3 px"; "0.6 px"; "30%".
    Q_INVOKABLE QString toleranceText(double value) const;
    Q_INVOKABLE QString closeGapsText(double value) const;
    Q_INVOKABLE QString featherText(double value) const;
    Q_INVOKABLE QString decontaminateText(double value) const;
};

} // namespace zephrin
