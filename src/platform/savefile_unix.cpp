#include "private/replacefile.h"

#include "regularfile.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace Platform {

namespace {

bool writeAt(int descriptor, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::pwrite(descriptor, bytes.constData() + done,
                                       size_t(bytes.size() - done), off_t(done));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            if (count == 0)
                errno = EIO;
            return false;
        }
        done += count;
    }
    return true;
}

bool replaceContent(int descriptor, const QByteArray &bytes)
{
    return writeAt(descriptor, bytes) && ::ftruncate(descriptor, off_t(bytes.size())) == 0
           && ::fsync(descriptor) == 0;
}

// Writes into the existing file, which keeps its owner, group, mode and every hard link.
// Nothing truncates it first: the new size is reserved before any old byte is overwritten,
// so a full disk fails while the file is whole, and the old bytes are kept to be put back
// should a write still fail part way.
QString writeInPlace(const QString &nativeName, const QByteArray &bytes)
{
    QFile file(nativeName);
    if (QString reason = openRegularFile(file, QIODevice::ReadWrite); !reason.isEmpty())
        return reason;
    const QByteArray old = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    const int descriptor = file.handle();
    if (bytes.size() > old.size()) {
        const int error = ::posix_fallocate(descriptor, 0, off_t(bytes.size()));
        if (error != 0 && error != EOPNOTSUPP && error != EINVAL)
            return qt_error_string(error);
    }
    if (replaceContent(descriptor, bytes))
        return {};
    const QString reason = qt_error_string(errno);
    if (replaceContent(descriptor, old))
        return QStringLiteral("%1; the file's old content was put back").arg(reason);
    return QStringLiteral("%1, and the file's old content could not be put back (%2): the file "
                          "is damaged")
            .arg(reason, qt_error_string(errno));
}

// The names of the file's extended attributes (its POSIX ACL among them), or nothing when
// they cannot be listed.
std::optional<QList<QByteArray>> attributeNames(const QByteArray &name)
{
    QByteArray names(4096, Qt::Uninitialized);
    ssize_t size;
    while ((size = ::listxattr(name.constData(), names.data(), size_t(names.size()))) < 0
           && errno == ERANGE)
        names.resize(names.size() * 4);
    if (size < 0)
        return errno == ENOTSUP ? std::optional(QList<QByteArray>()) : std::nullopt;
    names.truncate(size);
    QList<QByteArray> list = names.split('\0');
    list.removeAll(QByteArray());
    return list;
}

bool copyAttribute(const QByteArray &name, const QByteArray &attribute, int descriptor)
{
    QByteArray value(4096, Qt::Uninitialized);
    ssize_t size;
    while ((size = ::getxattr(name.constData(), attribute.constData(), value.data(),
                              size_t(value.size())))
                   < 0
           && errno == ERANGE)
        value.resize(value.size() * 4);
    return size >= 0
           && ::fsetxattr(descriptor, attribute.constData(), value.constData(), size_t(size), 0)
                      == 0;
}

// A replacement file belongs to whoever writes it, with a plain mode and no attributes. Give
// it everything of the old file but its content: owner and group (so that the game's own
// account can still read and write it), the mode with its special bits (read-only is how an
// admin keeps the game from rewriting it), and every extended attribute, the ACL among them.
// False when any of it cannot be given, and the old file must then be written in place.
bool keepMetadata(int descriptor, const QString &nativeName, const struct stat &old)
{
    const QByteArray name = QFile::encodeName(nativeName);
    const std::optional<QList<QByteArray>> attributes = attributeNames(name);
    struct stat made = {};
    if (!attributes || ::fstat(descriptor, &made) != 0)
        return false;
    // fchown clears the set-user-ID and set-group-ID bits, so the mode comes after it; the
    // kernel clears set-group-ID for a group the writer is not in, which the check finds.
    if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid)
        && ::fchown(descriptor, old.st_uid, old.st_gid) != 0)
        return false;
    if (::fchmod(descriptor, old.st_mode & 07777) != 0)
        return false;
    for (const QByteArray &attribute : *attributes) {
        if (!copyAttribute(name, attribute, descriptor))
            return false;
    }
    return ::fstat(descriptor, &made) == 0 && made.st_uid == old.st_uid && made.st_gid == old.st_gid
           && (made.st_mode & 07777) == (old.st_mode & 07777);
}

} // namespace

QString replaceFile(const QString &nativeName, const QByteArray &bytes)
{
    if (QString reason = unusableNameReason(nativeName); !reason.isEmpty())
        return reason;
    // Of the target a symbolic link leads to, which is what gets written.
    struct stat old = {};
    const bool exists = ::stat(QFile::encodeName(nativeName).constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        return qt_error_string(errno);
    if (exists && !S_ISREG(old.st_mode))
        return notRegularReason(old.st_mode);
    // A replacement would no longer be the file that the other links share.
    if (exists && old.st_nlink > 1)
        return writeInPlace(nativeName, bytes);
    QSaveFile file(nativeName);
    // Unbuffered, so that a full disk fails the write itself, with the system's reason.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        // The folder allows no new file, but the file itself may be writable.
        if (exists)
            return writeInPlace(nativeName, bytes);
        return file.errorString();
    }
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        // Qt loses the reason of a failed write (a full disk gives "Unknown error").
        const QString reason = errno != 0 ? qt_error_string(errno) : file.errorString();
        file.cancelWriting();
        return reason;
    }
    // After the write, which would clear the set-user-ID bit of a writer who is not root.
    if (exists && !keepMetadata(file.handle(), nativeName, old)) {
        file.cancelWriting();
        return writeInPlace(nativeName, bytes);
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace Platform
