#pragma once
// The bytes of a file a picture or a catalogue is read from: a regular file
// only (symbolic links followed), opened without waiting, so that a folder, a
// device or a pipe is never read, and one swapped for a pipe in between never
// blocks the reading thread. The bytes are copied, never mapped: a file that
// another program cuts short meanwhile cannot pull pages from under a decoder.

#include <QByteArray>
#include <QByteArrayView>

#include <filesystem>
#include <functional>
#include <optional>

namespace zephrin {

enum class FileProblem {
    missing,      // nothing of that name (or a folder on its way is missing)
    folder,       // a folder has the name
    notAFile,     // a device, a pipe, a socket
    noPermission, // it may not be read
    empty,
    tooLarge,     // more bytes than the caller takes
    refused,      // the caller's check of its first bytes refused it
    unreadable,   // any other failure to open or read it (`error` says which)
};

struct FileBytes {
    QByteArray bytes;                   // empty unless there is no problem
    std::optional<FileProblem> problem;
    int error = 0;                      // the errno of `unreadable`, when there was one
};

// Judges a file's first `bytes` (all of a shorter file) before the rest is
// read: false refuses the file, and nothing more is read.
struct HeadCheck {
    qsizetype bytes = 0;
    std::function<bool(QByteArrayView head)> accepts;
};

// The whole file at `path` (any name the file system holds), or why not.
// A file that shrinks while it is read gives the bytes it still had; one that
// grows, no more than its size when opened. With a `check`, a file whose
// first bytes it refuses is read no further.
FileBytes regularFileBytes(const std::filesystem::path& path, qint64 maxBytes, const HeadCheck& check = {});

} // namespace zephrin
