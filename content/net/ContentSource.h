#pragma once
// Where the font and photo-backdrop catalogues come from: a content server, or
// a catalogue folder read directly. Either holds the font catalogue below
// "zephrin/fonts/" and the photo-backdrop catalogue below "zephrin/backdrops/"
// (tools/build-content-catalogue builds such a folder; scripts/setup builds
// one into .cache/content-catalogue, which the build links beside the
// executables).
//
// The first of these that is set and usable wins:
//   1. the environment variable ZEPHRIN_CONTENT_URL, a server;
//   2. the setting "contentBaseURL", a server;
//   3. the environment variable ZEPHRIN_CONTENT_FOLDER, a catalogue folder (when
//      set, the only folder considered, so a run can hide the one below);
//   4. the catalogue folder installed with the program: "content-catalogue"
//      beside the executable, else "../share/zephrin/content-catalogue";
//   5. http://localhost:8000 (what `python3 -m http.server` serves).
// A server must be an absolute http or https URL and a folder an existing
// folder; anything else is ignored with a warning. A folder comes back as a
// file: URL whose path ends in a slash.

#include <QString>
#include <QUrl>

class QSettings;

namespace zephrin {

QUrl contentSource();
// The same on explicit inputs: the setting from `settings`, the installed
// folder looked for from `executableFolder` (none when empty).
QUrl contentSource(const QSettings& settings, const QString& executableFolder);

// The source followed by `folder` ("zephrin/fonts"), as an absolute URL whose
// path ends in a slash, so every resource can be resolved against it.
QUrl contentResourceBase(const QUrl& source, const QString& folder);

// What a catalogue that did not load from `base` (a resource base) says:
// a server's "Couldn't reach the <library> library. Check your internet
// connection.", a folder's "Couldn't read the <library> library in <folder>."
QString catalogueFailure(const QUrl& base, const QString& library);

} // namespace zephrin
