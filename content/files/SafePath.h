#pragma once
// Paths that come from outside (a downloaded catalogue, a library file read
// back from disk) become local file paths and URLs only through these checks,
// so "../", an absolute path or a stray separator can never reach a file
// outside its folder.
//
// A safe relative path is made of components separated by "/", none of them
// empty, "." or "..", and none holding a backslash or a control character; it
// does not start with "/". A safe name is a safe relative path of one component.

#include <QString>
#include <QUrl>

#include <optional>

namespace zephrin {

bool isSafeRelativePath(QStringView path);
bool isSafeName(QStringView name);

// `folder` + "/" + `relativePath` when the path is safe and, cleaned, still lies
// inside `folder`; none otherwise.
std::optional<QString> pathInside(const QString& folder, QStringView relativePath);

// `relativePath` resolved against `base` (whose path ends in "/"), every
// component percent-encoded, so "?", "#" or "%" in a name stay part of it.
// The path must be safe; none otherwise.
std::optional<QUrl> urlInside(const QUrl& base, QStringView relativePath);

} // namespace zephrin
