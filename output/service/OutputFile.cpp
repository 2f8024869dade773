#include "output/service/OutputFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace zephrin {

namespace {

constexpr int kNameAttempts = 16;
constexpr mode_t kNewFileMode = 0666; // less the umask, as for any new file

int createExclusively(const QByteArray& path)
{
    int descriptor = -1;
    do
        descriptor = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
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

} // namespace

OutputFile::OutputFile(QString target) : m_target(std::move(target))
{
    const QFileInfo info(m_target);
    for (int attempt = 0; attempt < kNameAttempts && m_descriptor < 0; ++attempt) {
        m_temporary = info.dir().filePath(QStringLiteral(".") + info.fileName() + u'.'
                                          + QString::number(QRandomGenerator::global()->generate64(), 36));
        m_descriptor = createExclusively(QFile::encodeName(m_temporary));
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
    if (!m_temporary.isEmpty())
        ::unlink(QFile::encodeName(m_temporary).constData());
}

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
    const QByteArray temporary = QFile::encodeName(m_temporary);
    const QByteArray target = QFile::encodeName(m_target);

    if (replace) {
        if (::rename(temporary.constData(), target.constData()) != 0)
            return failed();
        m_temporary.clear();
        return Placement::placed;
    }

    if (::link(temporary.constData(), target.constData()) == 0)
        return Placement::placed; // the destructor removes the temporary name
    if (errno == EEXIST)
        return Placement::nameTaken;
    if (!unsupported(errno))
        return failed();

    if (::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0) {
        m_temporary.clear();
        return Placement::placed;
    }
    if (errno == EEXIST)
        return Placement::nameTaken;
    if (!unsupported(errno))
        return failed();

    // Neither links nor renames that keep a file: the name is created
    // exclusively and written in place.
    const int descriptor = createExclusively(target);
    if (descriptor < 0)
        return errno == EEXIST ? Placement::nameTaken : failed();
    const bool written = writeAll(descriptor, m_data);
    const Placement placement = written ? Placement::placed : failed();
    ::close(descriptor);
    if (!written)
        ::unlink(target.constData());
    return placement;
}

} // namespace zephrin
