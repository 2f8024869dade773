#include "share/inbox/OriginalName.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <sys/xattr.h>

namespace zephrin {

namespace {

constexpr const char* kOriginAttribute = "user.xdg.origin.url";
constexpr qsizetype kMaxOrigin = 4096;
constexpr qsizetype kMaxName = 255;

std::optional<QUrl> recordedOrigin(const QString& path)
{
    QByteArray value(kMaxOrigin, Qt::Uninitialized);
    // lgetxattr: a link in the inbox's place is not followed.
    const ssize_t size =
        ::lgetxattr(QFile::encodeName(path).constData(), kOriginAttribute, value.data(), size_t(value.size()));
    if (size <= 0)
        return std::nullopt;
    value.truncate(size);
    const QUrl url = QUrl::fromEncoded(value, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

} // namespace

bool recordOrigin(const QString& path, const QString& sourcePath)
{
    const QByteArray url = QUrl::fromLocalFile(QFileInfo(sourcePath).absoluteFilePath()).toEncoded();
    if (url.size() > kMaxOrigin)
        return false;
    return ::setxattr(QFile::encodeName(path).constData(), kOriginAttribute, url.constData(), size_t(url.size()), 0)
           == 0;
}

std::optional<QString> originalName(const QString& path)
{
    const std::optional<QUrl> url = recordedOrigin(path);
    if (!url)
        return std::nullopt;
    QString name = url->fileName(QUrl::FullyDecoded);
    // Control characters, and formatting ones that could make a name read
    // other than it is (a right-to-left override), are dropped.
    name.removeIf([](QChar c) {
        return c.category() == QChar::Other_Control || c.category() == QChar::Other_Format
               || c == u'/' || c == u'\\';
    });
    name = name.trimmed().left(kMaxName);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return std::nullopt;
    return name;
}

bool originExists(const QString& path)
{
    const std::optional<QUrl> url = recordedOrigin(path);
    return url && url->isLocalFile() && QFileInfo(url->toLocalFile()).isFile();
}

} // namespace zephrin
