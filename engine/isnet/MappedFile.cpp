#include "engine/isnet/MappedFile.h"

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

bool readWhole(int descriptor, unsigned char* data, std::size_t size)
{
    for (std::size_t filled = 0; filled < size;) {
        const ssize_t got = ::read(descriptor, data + filled, size - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false; // cut short since its size was read
        filled += std::size_t(got);
    }
    return true;
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
    // In huge pages where the system offers them: a model of 176 MB then
    // copies in a third of the time, most of which went to faulting in and
    // clearing 4 KB pages.
    ::madvise(data, file.size(), MADV_HUGEPAGE);
    std::unique_ptr<MappedFile> copy(new MappedFile(static_cast<const unsigned char*>(data), file.size()));
    if (!readWhole(file.descriptor(), static_cast<unsigned char*>(data), file.size())
        || ::mprotect(data, file.size(), PROT_READ) != 0)
        return nullptr;
    return copy;
}

MappedFile::~MappedFile() { ::munmap(const_cast<unsigned char*>(m_data), m_size); }

} // namespace zephrin
