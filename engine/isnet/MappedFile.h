#pragma once
// A whole file in memory, released when the object goes: either mapped from
// the file (open) or copied into memory of the process's own (copyOf).
//
// A mapping reads the file's pages as they are touched, so a file that is cut
// short or rewritten while it is mapped takes those pages away (touching them
// ends the process with SIGBUS): map only files nobody else writes, for as long
// as a checksum takes. The cached model, which the runtime reads for the whole
// life of a session and which another instance may rebuild or a cache cleaner
// delete, is copied.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <span>

namespace zephrin {

class MappedFile {
public:
    // The mapping of `path`, or nullptr when it cannot be opened or mapped, or
    // is empty or not a regular file.
    static std::unique_ptr<MappedFile> open(const std::filesystem::path& path);

    // A page-aligned, read-only copy of the file's bytes, which nothing done to
    // the file afterwards changes; nullptr where open() gives none, and when
    // the file could not be read whole.
    static std::unique_ptr<MappedFile> copyOf(const std::filesystem::path& path);

    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    std::span<const unsigned char> bytes() const { return {m_data, m_size}; }

private:
    MappedFile(const unsigned char* data, std::size_t size) : m_data(data), m_size(size) {}
    const unsigned char* m_data;
    std::size_t m_size;
};

} // namespace zephrin
