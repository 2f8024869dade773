#include "engine/codec/RegularFileBytes.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zephrin {

namespace {

FileBytes problem(FileProblem what, int error = 0) { return FileBytes{{}, what, error}; }

FileBytes problemOfErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR: return problem(FileProblem::missing);
    case EACCES:
    case EPERM: return problem(FileProblem::noPermission);
    default: return problem(FileProblem::unreadable, error);
    }
}

FileBytes problemOfType(mode_t mode)
{
    return problem(S_ISDIR(mode) ? FileProblem::folder : FileProblem::notAFile);
}

} // namespace

namespace {

// Reads into `bytes` from `filled` up to `end`: the bytes filled then, or -1
// with errno set. Fewer at the end of a file cut short meanwhile.
qsizetype readUpTo(int descriptor, QByteArray& bytes, qsizetype filled, qsizetype end)
{
    while (filled < end) {
        const ssize_t got = ::read(descriptor, bytes.data() + filled, size_t(end - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        filled += got;
    }
    return filled;
}

} // namespace

FileBytes regularFileBytes(const std::filesystem::path& path, qint64 maxBytes, const HeadCheck& check)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return problemOfErrno(errno);
    if (!S_ISREG(status.st_mode))
        return problemOfType(status.st_mode);
    int descriptor = -1;
    do
        descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0)
        return problemOfErrno(errno);

    FileBytes result;
    if (::fstat(descriptor, &status) != 0) {
        result = problemOfErrno(errno);
    } else if (!S_ISREG(status.st_mode)) { // swapped since the first look
        result = problemOfType(status.st_mode);
    } else if (status.st_size == 0) {
        result = problem(FileProblem::empty);
    } else if (status.st_size > maxBytes) {
        result = problem(FileProblem::tooLarge);
    } else {
        // The head is judged before the buffer for the whole file is made: a
        // huge file refused by its head costs its head, whatever the
        // allocator does with a large block.
        const qsizetype size = qsizetype(status.st_size);
        qsizetype filled = 0;
        if (check.accepts) {
            result.bytes.resize(std::min(check.bytes, size));
            filled = readUpTo(descriptor, result.bytes, 0, result.bytes.size());
            if (filled >= 0 && !check.accepts(QByteArrayView(result.bytes.constData(), filled)))
                result = problem(FileProblem::refused);
        }
        if (filled >= 0 && !result.problem) {
            result.bytes.resize(size);
            filled = readUpTo(descriptor, result.bytes, filled, size);
        }
        if (filled < 0)
            result = problemOfErrno(errno);
        if (!result.problem) {
            result.bytes.truncate(filled);
            if (result.bytes.isEmpty())
                result.problem = FileProblem::empty;
        }
    }
    ::close(descriptor);
    return result;
}

} // namespace zephrin
