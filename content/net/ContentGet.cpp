#include "content/net/ContentGet.h"

#include "content/tasks/WorkerPools.h"

#include <QFile>
#include <QFileInfo>
#include <QtConcurrent/QtConcurrentRun>

namespace zephrin {

namespace {

std::optional<QByteArray> readCapped(const QString& path, qint64 maxBytes)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxBytes)
        return std::nullopt;
    QByteArray data = file.read(maxBytes + 1);
    if (data.size() > maxBytes || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return data;
}

} // namespace

QFuture<std::optional<QByteArray>> contentGet(QNetworkAccessManager& network, const HttpGet& get)
{
    if (get.url.isLocalFile())
        return QtConcurrent::run(userInitiatedPool(),
                                 [path = get.url.toLocalFile(), maxBytes = get.maxBytes] {
                                     return readCapped(path, maxBytes);
                                 });
    return httpGet(network, get);
}

} // namespace zephrin
