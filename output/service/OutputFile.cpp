#include "output/service/OutputFile.h"

#include "engine/files/TemporaryFile.h"
#include "output/service/NativePath.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <climits>
#include <cstring>

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace zephrin {

namespace {

bool writeAll(int descriptor, const QByteArray& data)
{
    return writeAllAndSync(descriptor, data.constData(), size_t(data.size()));
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

const QString kTakesNoFiles = QStringLiteral("that folder doesn't take new files");
const QString kLeadsNowhere = QStringLiteral("it's a link to a file that doesn't exist");
const QString kNotAFile = QStringLiteral("it's a device, a pipe or a socket, not a file, so it isn't replaced");

// Why replacedFile gave nothing, from its errno.
QString replacedFileFailure(int error)
{
    if (error == ENOENT)
        return kLeadsNowhere;
    if (error == kNotARegularFile)
        return kNotAFile;
    return writeFailureReason(error);
}

// Why a file could not be created in `folder`: "doesn't exist" only when it
// does not (a folder of /proc says ENOENT too).
QString creationFailureReason(int error, const std::filesystem::path& folder)
{
    struct stat status {};
    if (onKernelFileSystem(folder)
        || (error == ENOENT && ::stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode)))
        return kTakesNoFiles;
    return writeFailureReason(error);
}

} // namespace

bool onKernelFileSystem(const std::filesystem::path& path)
{
    struct statfs system {};
    if (::statfs(path.c_str(), &system) != 0)
        return false;
    switch (system.f_type) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case BPF_FS_MAGIC:
    case DEVPTS_SUPER_MAGIC:
    case PSTOREFS_MAGIC:
    case EFIVARFS_MAGIC: return true;
    default: return false;
    }
}

QString writeFailureReason(int error)
{
    switch (error) {
    case ENOENT: return QStringLiteral("the folder doesn't exist");
    case ENOTDIR: return QStringLiteral("part of the path is a file, not a folder");
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
        return QStringLiteral("%1 is a file, not a folder").arg(QFile::decodeName(folder.filename().c_str()));
    if (onKernelFileSystem(folder))
        return kTakesNoFiles;
    // As the process's own identity; a read-only file system says so too.
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        return writeFailureReason(errno);
    // The name must fit the folder; its temporary is made to fit wherever it does.
    const long nameMax = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const std::string name = target.filename().native();
    if (nameMax > 0 && name.size() > std::size_t(nameMax))
        return writeFailureReason(ENAMETOOLONG);
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(target, error);
    const std::string longestTemporary = temporaryName(absolute.parent_path(), name, std::string(13, '0'));
    if (absolute.native().size() >= PATH_MAX
        || absolute.parent_path().native().size() + 1 + longestTemporary.size() >= PATH_MAX)
        return writeFailureReason(ENAMETOOLONG);
    return {};
}

QString OutputFile::replacementRefusal(const std::filesystem::path& target)
{
    return replacedFile(target) ? QString() : replacedFileFailure(errno);
}

OutputFile::OutputFile(const QString& target) : OutputFile(nativePath(target)) {}

OutputFile::OutputFile(std::filesystem::path target) : m_target(std::move(target))
{
    TemporaryFile temporary = createTemporaryBeside(m_target);
    if (temporary.descriptor < 0)
        m_error = creationFailureReason(errno, folderOf(m_target));
    m_descriptor = temporary.descriptor;
    m_temporary = std::move(temporary.path);
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

OutputFile::Placement OutputFile::replaceTarget()
{
    const std::optional<ReplacedFile> replaced = replacedFile(m_target);
    if (!replaced) {
        m_error = replacedFileFailure(errno);
        return Placement::failed;
    }
    // A link stays, and the file it leads to, which may lie on another file
    // system, is replaced through a temporary of its own.
    if (replaced->path != m_target) {
        const int error = writeReplacing(*replaced, m_data.constData(), size_t(m_data.size()));
        if (error != 0)
            m_error = error == kNotARegularFile ? kNotAFile : writeFailureReason(error);
        return error == 0 ? Placement::placed : Placement::failed;
    }
    takeModeOf(*replaced, m_descriptor);
    ::close(m_descriptor);
    m_descriptor = -1;
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        return failed();
    m_temporary.clear();
    return Placement::placed;
}

OutputFile::Placement OutputFile::place(bool replace)
{
    if (!isOpen())
        return Placement::failed;
    if (replace)
        return replaceTarget();
    ::close(m_descriptor);
    m_descriptor = -1;
    const char* temporary = m_temporary.c_str();
    const char* target = m_target.c_str();

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
