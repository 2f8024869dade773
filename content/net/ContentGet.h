#pragma once
// One resource of a catalogue, wherever the catalogue lives. A file: URL (a
// catalogue folder read directly) is read on the worker pool: only a regular
// file within the size cap counts, anything else gives nothing (a pipe is
// never opened). Any other URL
// is fetched over HTTP(S) with httpGet and its rules. The future finishes on a
// worker thread or on the network manager's thread.

#include "content/net/HttpGet.h"

namespace zephrin {

QFuture<std::optional<QByteArray>> contentGet(QNetworkAccessManager& network, const HttpGet& get);

} // namespace zephrin
