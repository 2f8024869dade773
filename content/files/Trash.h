#pragma once

#include <QString>

namespace zephrin {

// Moves the file to the user's Trash, or removes it where the Trash can't take
// it; a file that can be neither stays where it is. The Trash is only used
// when the user's data folder (where the Trash lives) is a writable folder:
// without one, Qt 6.4 reports success and leaves the file in a "files" folder
// below the working folder.
void moveToTrashOrRemove(const QString& path);

} // namespace zephrin
