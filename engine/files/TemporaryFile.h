#pragma once
// A file that is to appear whole or not at all is written beside the one it
// becomes, under a temporary name, then renamed or linked to it. That name is
// "." + the file's name + "." + a random suffix, the file's name cut short
// where the whole would not fit the folder (its longest name, or what the
// longest path leaves): whenever a name fits its folder, its temporary fits
// too (a name of 241 to 255 bytes on ext4 was refused for the 15 bytes its
// temporary added).
//
// Names are bytes, as the file system holds them.

#include <cstddef>
#include <filesystem>
#include <string>

namespace zephrin {

// The temporary name of `name` in `folder`, with `suffix`.
std::string temporaryName(const std::filesystem::path& folder, const std::string& name, const std::string& suffix);

// A new, empty file at `path`, created exclusively for writing (0666 less the
// umask, as any new file): its descriptor, or -1 with errno set.
int createExclusively(const std::filesystem::path& path);

// A new temporary file beside `target` (see above), open for writing; a
// descriptor of -1 and an empty path, with errno set, when none could be made.
struct TemporaryFile {
    int descriptor = -1;
    std::filesystem::path path;
};
TemporaryFile createTemporaryBeside(const std::filesystem::path& target);

// Writes all of `size` bytes at `data` and flushes them to the disk.
bool writeAllAndSync(int descriptor, const char* data, std::size_t size);

} // namespace zephrin
