#pragma once
// A file that appears under its name whole or not at all, and that replaces
// another file of that name only when asked. The bytes go into a temporary
// file in the same folder first, created when the OutputFile is; make it once
// there is something to write (folderRefusal() checks the folder beforehand
// without leaving anything in it). place() then gives the temporary file its
// name in one step:
//
//   replace false  a hard link, else a rename that refuses to replace, else an
//                  exclusive create (file systems without either): of two
//                  writers of one name, exactly one succeeds;
//   replace true   a rename over the file of that name; where the name is a
//                  symbolic link, over the file the link leads to (the link
//                  stays), as any replacement (engine/files/TemporaryFile.h);
//                  only a regular file is replaced, never a folder, a device,
//                  a pipe or a socket.
//
// The temporary file (engine/files/TemporaryFile.h: "." + name + "." +
// random suffix, made to fit the folder wherever the name does) is removed
// when the OutputFile goes away without being placed. New files get the usual
// permissions (0666 less the umask); a replaced file's permissions stay.

#include <QByteArray>
#include <QString>

#include <filesystem>

namespace zephrin {

class OutputFile {
public:
    // `target` may be any name the file system holds (see NativePath.h).
    explicit OutputFile(std::filesystem::path target);
    explicit OutputFile(const QString& target);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Why a file could not be made beside `target` (its folder is missing, is
    // a file, may not be written to or takes no files, as /proc; the name, or
    // its path, is too long), as writeFailureReason says it; empty when it
    // could. Creates nothing.
    static QString folderRefusal(const std::filesystem::path& target);

    // Why place(true) would not replace what has `target`'s name: a folder, a
    // device, a pipe or a socket, or a link that leads nowhere; empty when
    // it would (nothing has the name, or a regular file, through any link).
    static QString replacementRefusal(const std::filesystem::path& target);

    // Whether the temporary file could be created; errorString() says why not.
    bool isOpen() const { return m_descriptor >= 0; }
    // Why the last step failed, as writeFailureReason says it.
    QString errorString() const { return m_error; }

    // Writes all of `data` into the temporary file and flushes it to the disk.
    bool write(const QByteArray& data);

    enum class Placement { placed, nameTaken, failed };
    // Puts the written file in place under the target's name (see above).
    Placement place(bool replace);

private:
    void noteError();
    Placement failed();
    Placement replaceTarget();

    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    QByteArray m_data;
    int m_descriptor = -1;
    QString m_error;
};

// Why a file could not be written, for the user: "the folder doesn't exist",
// "part of the path is a file, not a folder", "there's no permission to write
// there", "the disk is full", "the disk is read-only"; the system's own words
// for other errors.
QString writeFailureReason(int error);

// Whether `path` lies on one of the kernel's views of itself (/proc, /sys,
// /sys/kernel/debug, …): its folders exist, may even look writable, take no
// new file, and hold files that never end or wait for input. False where
// the file system cannot be told.
bool onKernelFileSystem(const std::filesystem::path& path);

} // namespace zephrin
