#include "output/service/OutputFile.h"

#include "output/service/NativePath.h"

#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zephrin {

namespace {

constexpr int kNameAttempts = 16;
constexpr mode_t kNewFileMode = 0666; // less the umask, as for any new file

int createExclusively(const std::filesystem::path& path)
{
    int descriptor = -1;
    do
        descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
    while (descriptor < 0 && errno == EINTR);
    return descriptor;
}

bool writeAll(int descriptor, const QByteArray& data)
{
    const char* next = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, next, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        next += written;
        left -= written;
    }
    return ::fsync(descriptor) == 0;
}

// Errors that say the file system has no such operation, not that the name
// is taken or the folder refuses.
bool unsupported(int error)
{
    return error == EPERM || error == EINVAL || error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP;
}

// The folder a file of `target`'s name goes into.
std::filesystem::path folderOf(const std::filesystem::path& target)
{
    const std::filesystem::path folder = target.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

} // namespace

QString writeFailureReason(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR: return QStringLiteral("the folder doesn't exist");
    case EACCES:
    case EPERM: return QStringLiteral("there's no permission to write there");
    case ENOSPC:
    case EDQUOT: return QStringLiteral("the disk is full");
    case EROFS: return QStringLiteral("the disk is read-only");
    case EISDIR: return QStringLiteral("a folder has that name");
    case ENAMETOOLONG: return QStringLiteral("the name is too long");
    default: return QString::fromLocal8Bit(std::strerror(error));
    }
}

QString OutputFile::folderRefusal(const std::filesystem::path& target)
{
    const std::filesystem::path folder = folderOf(target);
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0)
        return writeFailureReason(errno);
    if (!S_ISDIR(status.st_mode))
        return writeFailureReason(ENOTDIR);
    // As the process's own identity; a read-only file system says so too.
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        return writeFailureReason(errno);
    return {};
}

OutputFile::OutputFile(const QString& target) : OutputFile(nativePath(target)) {}

OutputFile::OutputFile(std::filesystem::path target) : m_target(std::move(target))
{
    const std::filesystem::path folder = folderOf(m_target);
    for (int attempt = 0; attempt < kNameAttempts && m_descriptor < 0; ++attempt) {
        m_temporary = folder / ("." + m_target.filename().native() + '.'
                                + QString::number(QRandomGenerator::global()->generate64(), 36).toStdString());
        m_descriptor = createExclusively(m_temporary);
        if (m_descriptor < 0 && errno != EEXIST)
            break;
    }
    if (m_descriptor < 0) {
        noteError();
        m_temporary.clear();
    }
}

OutputFile::~OutputFile()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
}

void OutputFile::noteError()
{
    m_error = writeFailureReason(errno);
}

OutputFile::Placement OutputFile::failed()
{
    noteError();
    return Placement::failed;
}

bool OutputFile::write(const QByteArray& data)
{
    if (!isOpen())
        return false;
    m_data = data;
    if (writeAll(m_descriptor, data))
        return true;
    noteError();
    return false;
}

OutputFile::Placement OutputFile::place(bool replace)
{
    if (!isOpen())
        return Placement::failed;
    ::close(m_descriptor);
    m_descriptor = -1;
    const char* temporary = m_temporary.c_str();
    const char* target = m_target.c_str();

    if (replace) {
        if (::rename(temporary, target) != 0)
            return failed();
        m_temporary.clear();
        return Placement::placed;
    }

    if (::link(temporary, target) == 0)
        return Placement::placed; // the destructor removes the temporary name
    if (errno == EEXIST)
        return Placement::nameTaken;
    if (!unsupported(errno))
        return failed();

    if (::renameat2(AT_FDCWD, temporary, AT_FDCWD, target, RENAME_NOREPLACE) == 0) {
        m_temporary.clear();
        return Placement::placed;
    }
    if (errno == EEXIST)
        return Placement::nameTaken;
    if (!unsupported(errno))
        return failed();

    // Neither links nor renames that keep a file: the name is created
    // exclusively and written in place.
    const int descriptor = createExclusively(m_target);
    if (descriptor < 0)
        return errno == EEXIST ? Placement::nameTaken : failed();
    const bool written = writeAll(descriptor, m_data);
    const Placement placement = written ? Placement::placed : failed();
    ::close(descriptor);
    if (!written)
        ::unlink(target);
    return placement;
}

} // namespace zephrin
