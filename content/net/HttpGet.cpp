#include "content/net/HttpGet.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPromise>
#include <QTimer>

#include <memory>

namespace zephrin {

QFuture<std::optional<QByteArray>> httpGet(QNetworkAccessManager& network, const HttpGet& get)
{
    auto promise = std::make_shared<QPromise<std::optional<QByteArray>>>();
    promise->start();

    QNetworkRequest request(get.url);
    request.setTransferTimeout(static_cast<int>(get.timeout.count()));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         get.ignoreLocalCache ? QNetworkRequest::AlwaysNetwork
                                              : QNetworkRequest::PreferNetwork);
    QNetworkReply* reply = network.get(request);

    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    deadline->start(get.deadline);

    const qint64 maxBytes = get.maxBytes;
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply, maxBytes](qint64 received, qint64) {
        if (received > maxBytes)
            reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, promise, maxBytes] {
        reply->deleteLater();
        std::optional<QByteArray> body;
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (reply->error() == QNetworkReply::NoError && status.isValid() && status.toInt() == 200) {
            QByteArray data = reply->readAll();
            if (data.size() <= maxBytes)
                body = std::move(data);
        }
        promise->addResult(std::move(body));
        promise->finish();
    });
    return promise->future();
}

} // namespace zephrin
