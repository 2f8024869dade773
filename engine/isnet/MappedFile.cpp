#include "engine/isnet/MappedFile.h"

#include <opencv2/core.hpp>

#include <algorithm>
#include <atomic>
#include <cerrno>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zephrin {

namespace {

// An open regular file that is not empty, and its size; closed on the way out.
class RegularFile {
public:
    explicit RegularFile(const std::filesystem::path& path) : m_descriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
    {
        struct stat status {};
        if (m_descriptor >= 0 && ::fstat(m_descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0)
            m_size = std::size_t(status.st_size);
    }
    ~RegularFile()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    int descriptor() const { return m_descriptor; }
    std::size_t size() const { return m_size; } // 0: nothing to read

private:
    int m_descriptor;
    std::size_t m_size = 0;
};

// Reads `size` bytes from `offset` on; false when the file ends first.
bool readAt(int descriptor, unsigned char* data, std::size_t size, std::size_t offset)
{
    for (std::size_t filled = 0; filled < size;) {
        const ssize_t got = ::pread(descriptor, data + filled, size - filled, off_t(offset + filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false; // cut short since its size was read
        filled += std::size_t(got);
    }
    return true;
}

// Read in parts on every core: most of a copy's time goes to faulting in and
// clearing the fresh pages, which one thread does alone at a tenth of the pace.
bool readWhole(int descriptor, unsigned char* data, std::size_t size)
{
    constexpr std::size_t kPart = std::size_t(8) << 20;
    const int parts = int((size + kPart - 1) / kPart);
    std::atomic<bool> whole = true;
    cv::parallel_for_(cv::Range(0, parts), [&](const cv::Range& range) {
        for (int part = range.start; part < range.end && whole; ++part) {
            const std::size_t at = std::size_t(part) * kPart;
            if (!readAt(descriptor, data + at, std::min(kPart, size - at), at))
                whole = false;
        }
    });
    return whole;
}

} // namespace

std::unique_ptr<MappedFile> MappedFile::open(const std::filesystem::path& path)
{
    const RegularFile file(path);
    if (file.size() == 0)
        return nullptr;
    void* data = ::mmap(nullptr, file.size(), PROT_READ, MAP_PRIVATE, file.descriptor(), 0);
    if (data == MAP_FAILED)
        return nullptr;
    return std::unique_ptr<MappedFile>(new MappedFile(static_cast<const unsigned char*>(data), file.size()));
}

std::unique_ptr<MappedFile> MappedFile::copyOf(const std::filesystem::path& path)
{
    const RegularFile file(path);
    if (file.size() == 0)
        return nullptr;
    void* data = ::mmap(nullptr, file.size(), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (data == MAP_FAILED)
        return nullptr;
    // Not asked for in huge pages: where the kernel compacts memory for those
    // on the spot (its default for memory that asks), a copy of 176 MB took
    // anywhere from 30 to 800 ms.
    std::unique_ptr<MappedFile> copy(new MappedFile(static_cast<const unsigned char*>(data), file.size()));
    if (!readWhole(file.descriptor(), static_cast<unsigned char*>(data), file.size())
        || ::mprotect(data, file.size(), PROT_READ) != 0)
        return nullptr;
    return copy;
}

MappedFile::~MappedFile() { ::munmap(const_cast<unsigned char*>(m_data), m_size); }

} // namespace zephrin
