#include "output/service/NativePath.h"

#include <QFile>

namespace zephrin {

std::filesystem::path nativePath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

std::filesystem::path nativePath(const QUrl& fileUrl)
{
    if (!fileUrl.isLocalFile())
        return {};
    // The fully encoded path keeps the bytes that are no UTF-8 as %XX.
    return QByteArray::fromPercentEncoding(fileUrl.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

QUrl fileUrl(const std::filesystem::path& absolutePath)
{
    const QByteArray bytes = QByteArray::fromStdString(absolutePath.native());
    return QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"), QUrl::StrictMode);
}

bool isTextPath(const std::filesystem::path& path)
{
    const QByteArray bytes = QByteArray::fromStdString(path.native());
    return QFile::encodeName(QFile::decodeName(bytes)) == bytes;
}

} // namespace zephrin
