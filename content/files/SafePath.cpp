#include "content/files/SafePath.h"

#include <QDir>

#include <algorithm>

namespace zephrin {

namespace {

bool isSafeComponent(QStringView component)
{
    if (component.isEmpty() || component == u"." || component == u"..")
        return false;
    return std::none_of(component.begin(), component.end(), [](QChar c) {
        return c == u'\\' || c == u'/' || c.unicode() < 0x20 || c.unicode() == 0x7F;
    });
}

} // namespace

bool isSafeRelativePath(QStringView path)
{
    if (path.isEmpty())
        return false;
    for (const QStringView component : path.tokenize(u'/'))
        if (!isSafeComponent(component))
            return false;
    return true;
}

bool isSafeName(QStringView name)
{
    return isSafeComponent(name);
}

std::optional<QString> pathInside(const QString& folder, QStringView relativePath)
{
    if (!isSafeRelativePath(relativePath))
        return std::nullopt;
    const QString root = QDir::cleanPath(folder);
    const QString path = QDir::cleanPath(root + u'/' + relativePath.toString());
    if (!path.startsWith(root + u'/'))
        return std::nullopt;
    return path;
}

std::optional<QUrl> urlInside(const QUrl& base, QStringView relativePath)
{
    if (!isSafeRelativePath(relativePath))
        return std::nullopt;
    QString encoded;
    for (const QStringView component : relativePath.tokenize(u'/')) {
        if (!encoded.isEmpty())
            encoded += u'/';
        encoded += QString::fromLatin1(QUrl::toPercentEncoding(component.toString()));
    }
    return base.resolved(QUrl(encoded, QUrl::StrictMode));
}

} // namespace zephrin
