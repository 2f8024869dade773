#pragma once
// The file a dragged result is offered as: "<name>.png" in a folder of the
// user's own (the runtime folder, readable by nobody else), written whole
// through a temporary file before the drag starts, replacing an earlier drag
// of the same name.

#include <QByteArray>
#include <QString>

#include <optional>

namespace zephrin {

// `name` made fit to be one file name: separators, control characters and
// leading dots or spaces removed, at most 120 characters, "cutout" when
// nothing is left.
QString sanitizedFileName(const QString& name);

// The private folder of dragged files, created with owner-only access; none
// when it cannot be made.
std::optional<QString> dragFolder();

// Writes `png` as "<sanitised name>.png" into `folder` and returns its path;
// none when there is nothing to write or the write fails.
std::optional<QString> writeDragFile(const QString& folder, const QByteArray& png, const QString& name);

} // namespace zephrin
