#pragma once
// Loading a catalogue of the content server that a copy on disk stands in for
// when the server can't be reached:
//
//   1. the copy on disk, when asked for, is read and decoded on the worker pool
//      and handed to `showCached` on the context's thread (nothing when it is
//      missing or does not decode);
//   2. then the server is asked (status 200 only, local caches ignored); a body
//      that decodes replaces the copy on disk byte for byte, atomically (a write
//      error is ignored), and goes to `finish` on the context's thread; any
//      failure gives `finish` none, and the copy on disk stays as it was.
//
// A catalogue in a folder (a file: URL) is its own copy: it is read and handed
// to `finish` alone, and no copy on disk is read or written.
//
// Nothing runs on the context's thread once the context is gone.

#include "content/files/AtomicWrite.h"
#include "content/net/ContentGet.h"
#include "content/tasks/WorkerPools.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QObject>
#include <QtConcurrent/QtConcurrentRun>

#include <functional>
#include <optional>

namespace zephrin {

template <typename Catalogue>
struct CachedCatalogue {
    HttpGet get;            // the catalogue's URL, time-out and size cap
    QString cachePath;      // the copy on disk
    std::function<std::optional<Catalogue>(const QByteArray&)> decode;
};

template <typename Catalogue, typename ShowCached, typename Finish>
void loadCatalogue(QObject* context, QNetworkAccessManager& network, const CachedCatalogue<Catalogue>& catalogue,
                   bool readCache, ShowCached showCached, Finish finish)
{
    const auto& path = catalogue.cachePath;
    const auto& decode = catalogue.decode;
    const bool keepsCopy = !catalogue.get.url.isLocalFile();
    const bool readCopy = readCache && keepsCopy;
    QtConcurrent::run(userInitiatedPool(), [path, decode, readCopy]() -> std::optional<Catalogue> {
        QFile file(path);
        if (!readCopy || !file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return decode(file.readAll());
    }).then(context, [context, &network, catalogue, showCached, finish, keepsCopy](std::optional<Catalogue> cached) {
        if (cached)
            showCached(*cached);
        contentGet(network, catalogue.get)
            .then(userInitiatedPool(),
                  [catalogue, keepsCopy](std::optional<QByteArray> body) -> std::optional<Catalogue> {
                std::optional<Catalogue> fetched = body ? catalogue.decode(*body) : std::nullopt;
                if (fetched && keepsCopy)
                    writeAtomically(catalogue.cachePath, *body);
                return fetched;
            })
            .then(context, finish);
    });
}

} // namespace zephrin
