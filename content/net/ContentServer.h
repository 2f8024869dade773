#pragma once
// Where the content server lives. It publishes the font catalogue below
// "/zephrin/fonts/" and the photo-backdrop catalogue below "/zephrin/backdrops/"
// as static files (tools/build-content-catalogue builds such a folder).
//
// The address comes from the environment variable ZEPHRIN_CONTENT_URL, else
// from the setting "contentBaseURL", else http://localhost:8000 (what
// `python3 -m http.server` serves). It must be an absolute http or https URL;
// anything else is ignored with a warning.

#include <QString>
#include <QUrl>

class QSettings;

namespace zephrin {

QUrl contentServerAddress();
// The same, reading the setting from `settings`.
QUrl contentServerAddress(const QSettings& settings);

// The server address followed by `folder` ("zephrin/fonts"), as an absolute URL
// whose path ends in a slash, so every resource can be resolved against it.
QUrl contentResourceBase(const QUrl& server, const QString& folder);

} // namespace zephrin
