#include "engine/files/TemporaryFile.h"

#include <QRandomGenerator>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zephrin {

namespace {

// A random 64-bit number in base 36 (13 characters at most).
std::string randomSuffix() { return QString::number(QRandomGenerator::global()->generate64(), 36).toStdString(); }

constexpr int kNameAttempts = 16;

} // namespace

std::string temporaryName(const std::filesystem::path& folder, const std::string& name, const std::string& suffix)
{
    const long nameMax = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    // What the longest path leaves for a name after the folder and its slash.
    const std::size_t taken = folder.native().size() + 1;
    const std::size_t pathLeft = taken < PATH_MAX - 1 ? PATH_MAX - 1 - taken : 0;
    const std::size_t room = std::min(nameMax > 0 ? std::size_t(nameMax) : std::size_t(NAME_MAX), pathLeft);
    const std::size_t fixed = 2 + suffix.size();
    std::size_t kept = std::min(name.size(), room > fixed ? room - fixed : 0);
    // Cut before a character of UTF-8 text, not inside it.
    while (kept > 0 && kept < name.size() && (static_cast<unsigned char>(name[kept]) & 0xC0) == 0x80)
        --kept;
    return '.' + name.substr(0, kept) + '.' + suffix;
}

int createExclusively(const std::filesystem::path& path, mode_t mode)
{
    int descriptor = -1;
    do
        descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    while (descriptor < 0 && errno == EINTR);
    return descriptor;
}

TemporaryFile createTemporaryBeside(const std::filesystem::path& target, mode_t mode)
{
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    TemporaryFile file;
    for (int attempt = 0; attempt < kNameAttempts && file.descriptor < 0; ++attempt) {
        file.path = folder / temporaryName(folder, target.filename().native(), randomSuffix());
        file.descriptor = createExclusively(file.path, mode);
        if (file.descriptor < 0 && errno != EEXIST)
            break;
    }
    if (file.descriptor < 0)
        file.path.clear();
    return file;
}

bool writeAllAndSync(int descriptor, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(descriptor, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= std::size_t(written);
    }
    return ::fsync(descriptor) == 0;
}

namespace {

// 0 for a regular file, else the errno of a replacement refused for its type.
int typeRefusal(mode_t mode)
{
    if (S_ISREG(mode))
        return 0;
    return S_ISDIR(mode) ? EISDIR : kNotARegularFile;
}

// Whatever has the name `path` now may be replaced: nothing, or a regular file.
bool stillReplaceable(const std::filesystem::path& path)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        return true;
    errno = typeRefusal(status.st_mode);
    return errno == 0;
}

} // namespace

std::optional<ReplacedFile> replacedFile(const std::filesystem::path& path)
{
    struct stat status {};
    // A name nothing has yet, or one whose folder refuses: creating the
    // temporary says why.
    if (::lstat(path.c_str(), &status) != 0)
        return ReplacedFile{path, std::nullopt};
    if (!S_ISLNK(status.st_mode)) {
        if (const int refusal = typeRefusal(status.st_mode); refusal != 0) {
            errno = refusal;
            return std::nullopt;
        }
        return ReplacedFile{path, status.st_mode & 0777};
    }
    // O_PATH opens nothing for reading or writing: a pipe does not block it.
    const int link = ::open(path.c_str(), O_PATH | O_CLOEXEC);
    if (link < 0)
        return std::nullopt;
    std::optional<ReplacedFile> file;
    char target[PATH_MAX];
    const std::string opened = "/proc/self/fd/" + std::to_string(link);
    const ssize_t length = ::fstat(link, &status) == 0 ? ::readlink(opened.c_str(), target, sizeof target) : -1;
    if (length > 0 && typeRefusal(status.st_mode) != 0)
        errno = typeRefusal(status.st_mode);
    else if (length > 0 && std::size_t(length) < sizeof target)
        file = ReplacedFile{std::string(target, std::size_t(length)), status.st_mode & 0777};
    else if (length > 0)
        errno = ENAMETOOLONG;
    const int error = errno;
    ::close(link);
    errno = error;
    return file;
}

void takeModeOf(const ReplacedFile& replaced, int descriptor)
{
    if (replaced.mode)
        ::fchmod(descriptor, *replaced.mode);
}

int writeReplacing(const ReplacedFile& replaced, const char* data, std::size_t size)
{
    // What the replaced file keeps from others never shows in its temporary.
    const TemporaryFile temporary = createTemporaryBeside(replaced.path, replaced.mode ? 0600 : 0666);
    if (temporary.descriptor < 0)
        return errno;
    int error = writeAllAndSync(temporary.descriptor, data, size) ? 0 : (errno != 0 ? errno : EIO);
    takeModeOf(replaced, temporary.descriptor);
    if (::close(temporary.descriptor) != 0 && error == 0)
        error = errno;
    if (error == 0 && !stillReplaceable(replaced.path))
        error = errno;
    if (error == 0 && ::rename(temporary.path.c_str(), replaced.path.c_str()) != 0)
        error = errno;
    if (error != 0)
        ::unlink(temporary.path.c_str());
    return error;
}

} // namespace zephrin
