#include "content/net/ContentGet.h"

#include "content/tasks/WorkerPools.h"
#include "engine/codec/RegularFileBytes.h"

#include <QFile>
#include <QtConcurrent/QtConcurrentRun>

namespace zephrin {

namespace {

std::optional<QByteArray> readCapped(const QString& path, qint64 maxBytes)
{
    FileBytes file = regularFileBytes(QFile::encodeName(path).toStdString(), maxBytes);
    if (file.problem)
        return std::nullopt;
    return std::move(file.bytes);
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
