#pragma once
// Folders only their owner may enter, for what other users must not read or
// take over: the inbox and the files taken out of it, the editor's socket.

#include <QString>

namespace zephrin {

// Makes `path` a folder of this user's alone: created with mode 0700 when it
// is missing (its parents as usual), and, when it is there, used only if it is
// a folder (not a link to one) that this user owns, its mode then set to 0700.
// False when it cannot be made or belongs to somebody else: nothing of ours
// may go into it then.
bool makePrivateFolder(const QString& path);

} // namespace zephrin
