#include "engine/types/Plural.h"

namespace zephrin::plural {

QString word(qint64 n, QStringView one, QStringView many)
{
    if (n == 1)
        return one.toString();
    return many.isNull() ? one.toString() + u's' : many.toString();
}

QString count(qint64 n, QStringView one, QStringView many)
{
    return QString::number(n) + u' ' + word(n, one, many);
}

} // namespace zephrin::plural
