#include "filewriter.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace Platform {

namespace {

// As root, a replacement file would belong to root; give it back to the old file's owner.
void keepOwner(const QString &nativeName, const QSaveFile &file)
{
#ifdef Q_OS_UNIX
    struct stat old = {};
    if (geteuid() != 0 || ::stat(QFile::encodeName(nativeName).constData(), &old) != 0)
        return;
    if (file.handle() >= 0 && (old.st_uid != 0 || old.st_gid != 0))
        (void)fchown(file.handle(), old.st_uid, old.st_gid);
#else
    Q_UNUSED(nativeName);
    Q_UNUSED(file);
#endif
}

// QSaveFile says only "not writable" of an existing file; the system says why.
QString openFailure(const QString &nativeName, const QSaveFile &file)
{
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(nativeName);
    if (::access(name.constData(), F_OK) == 0 && ::access(name.constData(), W_OK) != 0)
        return qt_error_string(errno);
#endif
    return file.errorString();
}

} // namespace

QString writeWholeFile(const QString &nativeName, const QByteArray &bytes)
{
    QSaveFile file(nativeName);
    file.setDirectWriteFallback(true);
    // Unbuffered, so that a full disk fails the write itself, with the system's reason.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return openFailure(nativeName, file);
    keepOwner(nativeName, file);
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        // Qt loses the reason of a failed write (a full disk gives "Unknown error").
        const QString reason = errno != 0 ? qt_error_string(errno) : file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace Platform
