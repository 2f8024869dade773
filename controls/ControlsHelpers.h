#pragma once
// The windowless helpers of the shared controls, as QML singletons of
// Zephrin.Controls. Each forwards to plain C++ that the unit tests drive.

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace zephrin {

// ValueText: the one formatter of slider and status values (ValueText.h).
class ValueTextQml : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(ValueText)
    QML_SINGLETON

public:
    using QObject::QObject;
    Q_INVOKABLE double snapped(double value, double step) const;
    Q_INVOKABLE QString number(double value, int decimals) const;
    Q_INVOKABLE QString rounded(double value) const;
    Q_INVOKABLE QString truncated(double value) const;
    Q_INVOKABLE QString percent(double value) const;
    Q_INVOKABLE QString pixels(double value) const;
    Q_INVOKABLE QString signedEV(double value) const;
    Q_INVOKABLE QString offOr(double value, const QString& text) const;
    Q_INVOKABLE QString dimensions(double width, double height) const;
    Q_INVOKABLE QString fileSize(double bytes) const;
    Q_INVOKABLE QString wholeWith(double value, double step, const QString& suffix) const;
    Q_INVOKABLE QString signedWhole(double value, double step, const QString& suffix) const;
    Q_INVOKABLE QString offBelowHalf(double value, const QString& text) const;
    Q_INVOKABLE QString truncatedDimensions(double width, double height) const;
};

// SliderMath: value under the pointer, fill and thumb of ZPSlider (SliderMath.h).
class SliderMathQml : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(SliderMath)
    QML_SINGLETON

public:
    using QObject::QObject;
    Q_INVOKABLE double valueAt(double x, double width, double lower, double upper, double step) const;
    Q_INVOKABLE double stepped(double value, int steps, double lower, double upper, double step) const;
    Q_INVOKABLE double fillWidth(double value, double width, double lower, double upper) const;
    Q_INVOKABLE double thumbOffset(double value, double width, double lower, double upper) const;
};

// ChipWidths: how a chip row shares its width (ChipWidths.h).
class ChipWidthsQml : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(ChipWidths)
    QML_SINGLETON

public:
    using QObject::QObject;
    Q_INVOKABLE QList<double> widths(const QList<double>& natural, double width, double spacing) const;
};

// Icons: the icon table (IconTable.h).
class IconsQml : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(Icons)
    QML_SINGLETON
    Q_PROPERTY(QString family READ family CONSTANT)

public:
    using QObject::QObject;
    QString family() const;
    Q_INVOKABLE QString glyph(const QString& symbol) const;
};

} // namespace zephrin
