#pragma once
// A file that is to appear whole or not at all is written beside the one it
// becomes, under a temporary name, then renamed or linked to it. That name is
// "." + the file's name + "." + a random suffix, the file's name cut short
// where the whole would not fit the folder (its longest name, or what the
// longest path leaves): whenever a name fits its folder, its temporary fits
// too (a name of 241 to 255 bytes on ext4 was refused for the 15 bytes its
// temporary added).
//
// A file that replaces another takes its place as QSaveFile's did: through a
// symbolic link onto the file it leads to (the link stays), and with that
// file's permission bits (a 0600 file stays 0600). A new file gets the usual
// permissions.
//
// Names are bytes, as the file system holds them.

#include <cerrno>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include <sys/types.h>

namespace zephrin {

// The temporary name of `name` in `folder`, with `suffix`.
std::string temporaryName(const std::filesystem::path& folder, const std::string& name, const std::string& suffix);

// A new, empty file at `path`, created exclusively for writing (`mode` less
// the umask; 0666 as any new file): its descriptor, or -1 with errno set.
int createExclusively(const std::filesystem::path& path, mode_t mode = 0666);

// A new temporary file beside `target` (see above), open for writing; a
// descriptor of -1 and an empty path, with errno set, when none could be made.
struct TemporaryFile {
    int descriptor = -1;
    std::filesystem::path path;
};
TemporaryFile createTemporaryBeside(const std::filesystem::path& target, mode_t mode = 0666);

// Writes all of `size` bytes at `data` and flushes them to the disk.
bool writeAllAndSync(int descriptor, const char* data, std::size_t size);

// The errno of a replacement refused because the name, or what its link
// leads to, is a device, a pipe or a socket: renaming a file over it would
// turn the node into a file (a link to /dev/null is a common way to discard
// an output).
inline constexpr int kNotARegularFile = ENOTSUP;

// The file that a replacement of `path` replaces: `path` itself or, where it
// is a symbolic link, the file the link leads to, with that file's permission
// bits (none while nothing has the name). The kernel follows the link, so its
// rules for links in shared folders such as /tmp hold. Nothing, errno set, for
// a link that leads nowhere or may not be followed, and for anything but a
// regular file: EISDIR for a folder, kNotARegularFile for the rest. Nothing
// is opened for reading or writing, so a pipe never blocks.
struct ReplacedFile {
    std::filesystem::path path;
    std::optional<mode_t> mode;
};
std::optional<ReplacedFile> replacedFile(const std::filesystem::path& path);

// Gives the temporary file open at `descriptor` the permission bits of the
// file it is to replace, where there is one. A file system that keeps no
// such bits leaves the temporary's, which are never wider.
void takeModeOf(const ReplacedFile& replaced, int descriptor);

// Puts `size` bytes at `data` in place of `replaced`, whole or not at all: a
// temporary beside it (the user's alone until it takes the replaced file's
// mode) is written, flushed and renamed onto it, unless the name has become
// something other than a regular file meanwhile. 0, or the errno of the step
// that failed; nothing is left behind.
int writeReplacing(const ReplacedFile& replaced, const char* data, std::size_t size);

} // namespace zephrin
