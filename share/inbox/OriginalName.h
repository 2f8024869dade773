#pragma once
// The name a handed-over file had before zephrin-share copied it into the
// inbox under a fresh name. It travels with the file as the file's origin:
// the extended attribute "user.xdg.origin.url" (the freedesktop.org name
// for where a file came from) holding the source's file: URL. A rename
// keeps it; where the file system keeps no extended attributes the name is
// simply not known.

#include <QString>

#include <optional>

namespace zephrin {

// Records `sourcePath` as the origin of `path`; false when the file system
// cannot keep it.
bool recordOrigin(const QString& path, const QString& sourcePath);

// The file name of the recorded origin, fit to show: one path component,
// without control or formatting characters, at most 255 characters. None
// when no origin is recorded or nothing usable is left of it.
std::optional<QString> originalName(const QString& path);

// Whether the recorded origin of `path` is still a file where it was: the
// picture then exists outside its handed-over copy. False without an origin
// (a picture shared from standard input has none).
bool originExists(const QString& path);

} // namespace zephrin
