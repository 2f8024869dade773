#include "pickers/TextControlsQml.h"

#include "model/qml/QmlValues.h"
#include "pickers/text/TextLayerControls.h"

namespace zephrin {

QStringList TextControlsQml::effects() const
{
    QStringList list;
    for (const char16_t* effect : textcontrols::kEffects)
        list << QString::fromUtf16(effect);
    return list;
}

QVariantMap TextControlsQml::slider(const QString& field) const
{
    const auto s = textcontrols::slider(field);
    if (!s)
        return {};
    return {{QStringLiteral("from"), s->shown.lower},
            {QStringLiteral("to"), s->shown.upper},
            {QStringLiteral("stepSize"), s->shown.step},
            {QStringLiteral("scale"), s->scale}};
}

QString TextControlsQml::valueText(const QString& field, double shown) const
{
    return textcontrols::valueText(field, shown);
}

QString TextControlsQml::effectTitle(const QString& effect) const
{
    return textcontrols::effectTitle(effect);
}

QVariant TextControlsQml::effectColorFor(const QString& effect, const QVariant& current) const
{
    const auto colour = qml::rgbaColor(current);
    if (!colour)
        return {};
    const auto next = textcontrols::effectColorFor(effect, *colour);
    return next ? QVariant(qml::color(*next)) : QVariant();
}

} // namespace zephrin
