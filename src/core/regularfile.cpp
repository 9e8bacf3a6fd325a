#include "regularfile.h"

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace Platform {

QString unusableNameReason(const QString &nativeName)
{
    if (nativeName.contains(QChar(u'\0')))
        return QStringLiteral("the name holds a NUL character, which no file name can hold");
    // What the program made of a name whose bytes are no UTF-8: no such name can be opened.
    for (const QString &part : nativeName.split(u'/')) {
        if (part.contains(QChar::ReplacementCharacter))
            return QStringLiteral("the name \"%1\" is not valid UTF-8, which Tolvane cannot open")
                    .arg(part);
    }
    return {};
}

QString notRegularReason(unsigned fileMode)
{
#ifdef Q_OS_UNIX
    const char *kind = S_ISREG(fileMode)                        ? nullptr
                       : S_ISFIFO(fileMode)                     ? "a named pipe"
                       : S_ISCHR(fileMode) || S_ISBLK(fileMode) ? "a device"
                       : S_ISDIR(fileMode)                      ? "a folder"
                       : S_ISSOCK(fileMode)                     ? "a socket"
                                                                : "no regular file";
    if (kind)
        return QStringLiteral("it is %1, not a file").arg(QLatin1StringView(kind));
#else
    Q_UNUSED(fileMode);
#endif
    return {};
}

QString openRegularFile(QFile &file, QIODevice::OpenMode mode)
{
    if (QString reason = unusableNameReason(file.fileName()); !reason.isEmpty())
        return reason;
#ifdef Q_OS_UNIX
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
#else
    return file.open(mode) ? QString() : file.errorString();
#endif
}

} // namespace Platform
