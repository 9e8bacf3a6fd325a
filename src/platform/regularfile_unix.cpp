#include "regularfile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

QString notRegularReason(unsigned fileMode)
{
    const char *kind = S_ISREG(fileMode)                        ? nullptr
                       : S_ISFIFO(fileMode)                     ? "a named pipe"
                       : S_ISCHR(fileMode) || S_ISBLK(fileMode) ? "a device"
                       : S_ISDIR(fileMode)                      ? "a folder"
                       : S_ISSOCK(fileMode)                     ? "a socket"
                                                                : "no regular file";
    if (kind)
        return QStringLiteral("it is %1, not a file").arg(QLatin1StringView(kind));
    return {};
}

QString openRegularFile(QFile &file, QIODevice::OpenMode mode)
{
    if (QString reason = unusableNameReason(file.fileName()); !reason.isEmpty())
        return reason;
    const int access = !(mode & QIODevice::WriteOnly) ? O_RDONLY
                       : (mode & QIODevice::ReadOnly) ? O_RDWR
                                                      : O_WRONLY;
    // Without O_NONBLOCK, the open of a named pipe waits for its other end.
    const int descriptor = ::open(QFile::encodeName(file.fileName()).constData(),
                                  access | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        // A socket cannot be opened at all; say what it is rather than "No such device".
        const int error = errno;
        struct stat status = {};
        if (error == ENXIO && ::stat(QFile::encodeName(file.fileName()).constData(), &status) == 0
            && !S_ISREG(status.st_mode))
            return notRegularReason(status.st_mode);
        return qt_error_string(error);
    }
    struct stat status = {};
    QString reason = ::fstat(descriptor, &status) == 0 ? notRegularReason(status.st_mode)
                                                       : qt_error_string(errno);
    if (reason.isEmpty()
        && ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) != 0)
        reason = qt_error_string(errno);
    if (reason.isEmpty() && !file.open(descriptor, mode, QFileDevice::AutoCloseHandle))
        reason = file.errorString();
    if (!reason.isEmpty())
        ::close(descriptor);
    return reason;
}

} // namespace Platform
