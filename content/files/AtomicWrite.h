#pragma once

#include <QByteArray>
#include <QString>

namespace zephrin {

// Writes `data` to `path` through a temporary file beside it
// (engine/files/TemporaryFile.h) that replaces the old one only when
// everything was written, creating the parent folders first. Where `path` is
// a symbolic link, the file it leads to is replaced and the link stays; a
// replaced file keeps its permission bits. False when any step failed (the
// old file, if any, is then untouched).
bool writeAtomically(const QString& path, const QByteArray& data);

} // namespace zephrin
