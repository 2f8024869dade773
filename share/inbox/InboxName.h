#pragma once
// The names of files waiting in the inbox: "in-", a UUID in its 36-character
// text form, ".", and an extension of letters and digits. zephrin-share makes
// them; the editor accepts nothing else, so a name that arrives in a URL can
// never be a path, a hidden file or a link into another folder.

#include <QString>

namespace zephrin {

// A fresh name "in-<UUID>.<extension>" (upper-case UUID). An empty extension
// becomes "png"; the caller passes one of letters and digits.
QString makeInboxFileName(const QString& extension);

// True for exactly the names makeInboxFileName can produce (the UUID's hex
// digits in either case, an extension of 1 to 16 ASCII letters and digits).
bool isInboxFileName(QStringView name);

} // namespace zephrin
