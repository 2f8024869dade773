#pragma once
// One GET of a content-server resource. Only a complete body answered with HTTP
// status 200 counts; a transport error, a time-out, a response that is not
// HTTP (a file: URL, say), any other status or a body over the size cap all
// give nothing. Redirects are followed (at most 50, never from HTTPS to HTTP),
// and a request is abandoned when its whole transfer takes longer than its
// deadline, however steadily the data trickles in. Runs on the network
// manager's thread, whose event loop must run; the future finishes there.

#include <QByteArray>
#include <QFuture>
#include <QUrl>

#include <chrono>
#include <optional>

class QNetworkAccessManager;

namespace zephrin {

struct HttpGet {
    QUrl url;
    // Time allowed without any data arriving.
    std::chrono::milliseconds timeout{60000};
    // Catalogues always go to the server; resources may come from a cache.
    bool ignoreLocalCache = false;
    // Larger bodies are abandoned as soon as they pass the cap.
    qint64 maxBytes = 64 * 1024 * 1024;
    // Time allowed for the whole request, redirects and body included.
    std::chrono::milliseconds deadline{300000};
};

QFuture<std::optional<QByteArray>> httpGet(QNetworkAccessManager& network, const HttpGet& get);

} // namespace zephrin
