#pragma once
// File names as the file system holds them: bytes, which need not be UTF-8.
// A QString holds only text, so a name with a byte that is no UTF-8 cannot
// pass through one; these keep the bytes (std::filesystem::path holds them
// unchanged on this system) and carry them in file: URLs, percent-encoded.

#include <QString>
#include <QUrl>

#include <filesystem>

namespace zephrin {

// The bytes of a path given as text (UTF-8).
std::filesystem::path nativePath(const QString& path);

// The bytes of a local file URL's path, percent-encoded bytes decoded as they
// are; empty when the URL is no local file.
std::filesystem::path nativePath(const QUrl& fileUrl);

// A file: URL of an absolute path whose every byte survives the trip.
QUrl fileUrl(const std::filesystem::path& absolutePath);

// Whether the bytes of `path` read as UTF-8 text (and so pass a QString).
bool isTextPath(const std::filesystem::path& path);

} // namespace zephrin
