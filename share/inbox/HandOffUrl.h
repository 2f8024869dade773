#pragma once
// The URL that announces a file waiting in the inbox: scheme "zephrin", host
// "open", no path, and one query item "file" holding the file's name.

#include <QString>
#include <QUrl>

#include <optional>

namespace zephrin {

// zephrin://open?file=NAME, the name percent-encoded as a query value.
QUrl handOffUrl(const QString& fileName);

// The file name a hand-off URL carries, or none when the text is not one:
// the scheme must be exactly "zephrin" and the host exactly "open" (letter
// case counts; no user, password or port), and the first "file" item, fully
// decoded, must be an inbox file name (InboxName.h). That excludes an empty
// value, "/", "\", "..", NUL and a leading ".".
std::optional<QString> handOffFileName(const QString& urlText);

} // namespace zephrin
