#pragma once
// Font files for tests, made from a face Debian ships (fonts-urw-base35).
// A renamed copy carries a family and PostScript name no installed font has, so
// a test can tell whether its copy, and only its copy, reached the font database.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <atomic>

#include <gtest/gtest.h>

namespace zephrin::testing {

inline const QString kSourceFont =
    QStringLiteral("/usr/share/fonts/opentype/urw-base35/NimbusSans-Bold.otf");

struct RenamedFont {
    QString family;          // "Zephrin Abc"
    QString postScriptName;  // "ZephrinAbc-Bold"
};

// Writes the source font to `path` (folders made as needed) under names no
// other call in this process has used. The names are replaced in place with
// names of the same length, so every table stays valid.
inline RenamedFont writeRenamedFont(const QString& path)
{
    static std::atomic<int> calls{0};
    const int n = calls++;
    const QString tag = QString(QChar(u'A' + n / 676 % 26)) + QChar(u'a' + n / 26 % 26) + QChar(u'a' + n % 26);
    const RenamedFont names{QStringLiteral("Zephrin ") + tag, QStringLiteral("Zephrin") + tag + QStringLiteral("-Bold")};

    QFile source(kSourceFont);
    if (!source.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "fonts-urw-base35 is missing";
        return names;
    }
    QByteArray data = source.readAll();
    const auto replaceBoth = [&](const QString& from, const QString& to) {
        data.replace(from.toLatin1(), to.toLatin1());
        // The name table also holds UTF-16 big-endian copies.
        const auto utf16 = [](const QString& s) {
            QByteArray bytes;
            for (QChar c : s)
                bytes.append('\0').append(static_cast<char>(c.unicode()));
            return bytes;
        };
        data.replace(utf16(from), utf16(to));
    };
    replaceBoth(QStringLiteral("NimbusSans"), QStringLiteral("Zephrin") + tag);
    replaceBoth(QStringLiteral("Nimbus Sans"), names.family);

    QFile target(path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !target.open(QIODevice::WriteOnly)
        || target.write(data) != data.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return names;
}

} // namespace zephrin::testing
