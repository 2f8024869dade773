#include "share/files/PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zephrin {

namespace {

constexpr mode_t kOwnerOnly = 0700;

} // namespace

bool makePrivateFolder(const QString& path)
{
    if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), kOwnerOnly) != 0 && errno != EEXIST)
        return false;
    // Judged by what was opened, so nothing can be swapped in between.
    const int folder = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0)
        return false;
    struct stat status {};
    const bool ours = ::fstat(folder, &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == ::geteuid()
                      && ((status.st_mode & 0777) == kOwnerOnly || ::fchmod(folder, kOwnerOnly) == 0);
    ::close(folder);
    return ours;
}

} // namespace zephrin
