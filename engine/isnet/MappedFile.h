#pragma once
// A whole file mapped read-only into memory, unmapped when the object goes.
// Used for the model files: the runtime reads a cached model straight from the
// mapping, and checksums run over it without a copy.

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
