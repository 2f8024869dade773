#pragma once

#include <QString>

namespace zephrin {

// Whether the user's Trash can take files: it lives in the user's data folder,
// which must be a writable folder. Without one, Qt 6.4 reports success and
// leaves the file in a "files" folder below the working folder.
bool trashAvailable();

// Moves the file to the user's Trash. False, with the file left where it is,
// when the Trash is not available or refuses it (a missing file counts as
// moved: there is nothing left to keep).
bool moveToTrash(const QString& path);

} // namespace zephrin
