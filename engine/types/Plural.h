#pragma once
// Counts in the interface's sentences: a number with the noun that agrees
// with it, or the agreeing word alone where the number stands elsewhere in
// the sentence. English: exactly one takes the singular ("0 fonts",
// "1 font", "2 fonts"); the plural is the singular with an "s" unless given.

#include <QString>
#include <QStringView>

namespace zephrin::plural {

// "1 background", "12 backgrounds", "2 copies" (with `many` "copies").
QString count(qint64 n, QStringView one, QStringView many = {});
// The word that agrees with `n`: word(1, u"is", u"are") is "is",
// word(3, u"image") is "images".
QString word(qint64 n, QStringView one, QStringView many = {});

} // namespace zephrin::plural
