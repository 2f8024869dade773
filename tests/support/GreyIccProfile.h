#pragma once
// A grey ICC profile made byte by byte: Qt makes RGB profiles only.

#include <QByteArray>

#include <cmath>
#include <cstring>

namespace zephrin::testing {

// A version 2 display profile of the colour space GRAY: a D50 white point and
// a tone curve of `gamma`.
inline QByteArray greyIccProfile(double gamma)
{
    const auto append32 = [](QByteArray& bytes, quint32 value) {
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.append(char((value >> shift) & 0xFF));
    };
    QByteArray white("XYZ \0\0\0\0", 8);
    for (const quint32 component : {0xF6D6u, 0x10000u, 0xD32Du}) // D50, s15.16
        append32(white, component);
    QByteArray curve("curv\0\0\0\0", 8);
    append32(curve, 1);
    const auto fixed = quint32(std::lround(gamma * 256)); // u8.8
    curve.append(char(fixed >> 8)).append(char(fixed & 0xFF)).append(2, '\0');

    constexpr quint32 kTags = 2;
    const quint32 first = 128 + 4 + 12 * kTags;
    QByteArray table;
    append32(table, kTags);
    table.append("wtpt", 4);
    append32(table, first);
    append32(table, quint32(white.size()));
    table.append("kTRC", 4);
    append32(table, first + quint32(white.size()));
    append32(table, quint32(curve.size()));

    QByteArray header;
    append32(header, 128 + quint32(table.size() + white.size() + curve.size()));
    append32(header, 0);
    append32(header, 0x02100000); // version 2.1
    header.append("mntrGRAYXYZ ", 12);
    header.append(12, '\0'); // date
    header.append("acsp", 4);
    header.append(28, '\0');
    for (const quint32 component : {0xF6D6u, 0x10000u, 0xD32Du}) // the illuminant
        append32(header, component);
    header.append(128 - header.size(), '\0');
    return header + table + white + curve;
}

} // namespace zephrin::testing
