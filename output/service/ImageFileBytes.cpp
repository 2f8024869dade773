#include "output/service/CutoutService.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zephrin::CutoutService {

QByteArray imageFileBytes(const std::filesystem::path& path)
{
    // Only a regular file is opened, and without waiting: one that is swapped
    // for a pipe in between would otherwise wait for a writer. A folder, a
    // device or a pipe is never read.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return {};
    int descriptor = -1;
    do
        descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0)
        return {};
    QByteArray bytes;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0
        && status.st_size <= kMaxImageFileBytes) {
        // The size of the file as opened; a file that shrinks meanwhile gives
        // fewer bytes, and one that grows no more than that.
        bytes.resize(qsizetype(status.st_size));
        qsizetype filled = 0;
        while (filled < bytes.size()) {
            const ssize_t got = ::read(descriptor, bytes.data() + filled, size_t(bytes.size() - filled));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            filled += got;
        }
        bytes.truncate(filled);
    }
    ::close(descriptor);
    return bytes;
}

Image decodeUprightFile(const std::filesystem::path& path)
{
    const QByteArray bytes = imageFileBytes(path);
    if (bytes.isEmpty())
        throw Failure(FailureKind::unreadable);
    return decodeUpright(bytes);
}

std::optional<Image> loadImageFile(const std::filesystem::path& path)
{
    try {
        return decodeUprightFile(path);
    } catch (const Failure&) {
        return std::nullopt;
    }
}

} // namespace zephrin::CutoutService
