#include "controls/ValueText.h"

#include <QLocale>

#include <cmath>

namespace zephrin::valuetext {

namespace {

// QLocale::c() keeps the text the same whatever the user's locale is.
QString fixed(double value, int decimals)
{
    QString text = QLocale::c().toString(value, 'f', decimals);
    // A value that rounds to zero from below reads "-0" or "-0.00".
    if (text.startsWith(u'-') && text.mid(1).remove(u'0').remove(u'.').isEmpty())
        text.remove(0, 1);
    return text;
}

QString withoutTrailingZeros(QString text)
{
    if (!text.contains(u'.'))
        return text;
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

} // namespace

double snapped(double value, double step)
{
    if (!(step > 0))
        return value;
    return std::round(value / step) * step + 0.0;
}

QString number(double value, int decimals)
{
    return fixed(value, decimals);
}

QString rounded(double value)
{
    return fixed(std::round(value), 0);
}

QString truncated(double value)
{
    return fixed(std::trunc(value), 0);
}

QString percent(double value)
{
    return rounded(value) + u'%';
}

QString pixels(double value)
{
    return rounded(value) + QStringLiteral(" px");
}

QString signedEV(double value)
{
    const QString text = fixed(value, 2);
    return (text.startsWith(u'-') ? text : u'+' + text) + QStringLiteral(" EV");
}

QString offOr(double value, const QString& text)
{
    return value == 0 ? QStringLiteral("Off") : text;
}

QString dimensions(long long width, long long height)
{
    return QString::number(width) + QStringLiteral(" × ") + QString::number(height);
}

QString wholeWith(double value, double step, const QString& suffix)
{
    return truncated(snapped(value, step)) + suffix;
}

QString signedWhole(double value, double step, const QString& suffix)
{
    const QString text = truncated(snapped(value, step));
    return (text.startsWith(u'-') ? text : u'+' + text) + suffix;
}

QString offBelowHalf(double value, const QString& text)
{
    return value < 0.5 ? QStringLiteral("Off") : text;
}

QString truncatedDimensions(double width, double height)
{
    return dimensions(static_cast<long long>(std::trunc(width)), static_cast<long long>(std::trunc(height)));
}

QString fileSize(long long bytes)
{
    if (bytes == 0)
        return QStringLiteral("Zero KB");
    if (bytes == 1)
        return QStringLiteral("1 byte");
    if (bytes < 1000)
        return QString::number(bytes) + QStringLiteral(" bytes");
    // Each unit takes over once the smaller one would round to 1000.
    const double kilo = bytes / 1e3;
    if (std::round(kilo) < 1000)
        return fixed(kilo, 0) + QStringLiteral(" KB");
    const double mega = bytes / 1e6;
    if (std::round(mega * 10) / 10 < 1000)
        return withoutTrailingZeros(fixed(mega, 1)) + QStringLiteral(" MB");
    return withoutTrailingZeros(fixed(bytes / 1e9, 2)) + QStringLiteral(" GB");
}

} // namespace zephrin::valuetext
