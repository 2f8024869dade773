#include "engine/isnet/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zephrin {

std::unique_ptr<MappedFile> MappedFile::open(const std::filesystem::path& path)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return nullptr;
    struct stat status {};
    void* data = MAP_FAILED;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0)
        data = ::mmap(nullptr, std::size_t(status.st_size), PROT_READ, MAP_PRIVATE, descriptor, 0);
    ::close(descriptor); // the mapping keeps the file
    if (data == MAP_FAILED)
        return nullptr;
    return std::unique_ptr<MappedFile>(new MappedFile(static_cast<const unsigned char*>(data), std::size_t(status.st_size)));
}

MappedFile::~MappedFile() { ::munmap(const_cast<unsigned char*>(m_data), m_size); }

} // namespace zephrin
