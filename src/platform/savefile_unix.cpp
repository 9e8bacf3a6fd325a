#include "private/replacefile.h"

#include "nativepath.h"
#include "private/attributes_unix.h"
#include "regularfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <linux/fs.h>
#include <optional>
#include <sys/ioctl.h>
#include <sys/stat.h>
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

// A write by anyone but root clears the set-user-ID bit, and the set-group-ID bit of a file
// its group may run. Its owner, or root, gives them back; anyone else is told.
void restoreSetIdBits(int descriptor, const QString &nativeName, mode_t mode, QString &notice)
{
    struct stat now = {};
    const auto cleared = [&] {
        return ::fstat(descriptor, &now) == 0 ? mode & ~now.st_mode & (S_ISUID | S_ISGID) : 0;
    };
    if (cleared() == 0 || (::fchmod(descriptor, mode & 07777) == 0 && cleared() == 0))
        return;
    const mode_t bits = cleared();
    notice = QStringLiteral("Writing \"%1\" cleared its %2, which only the file's owner or root "
                            "can set again.")
                     .arg(displayName(nativeName),
                          bits == (S_ISUID | S_ISGID) ? QStringLiteral("set-user-ID and "
                                                                       "set-group-ID bits")
                          : bits == S_ISUID           ? QStringLiteral("set-user-ID bit")
                                                      : QStringLiteral("set-group-ID bit"));
}

// Writes into the existing file, which keeps its owner, group, mode and every hard link.
// Nothing truncates it first: the new size is reserved before any old byte is overwritten,
// so a full disk fails while the file is whole, and the old bytes are kept to be put back
// should a write still fail part way.
QString writeInPlace(const QString &nativeName, const QByteArray &bytes, QString &notice)
{
    QFile file(nativeName);
    if (QString reason = openRegularFile(file, QIODevice::ReadWrite); !reason.isEmpty())
        return reason;
    const QByteArray old = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    const int descriptor = file.handle();
    struct stat before = {};
    if (::fstat(descriptor, &before) != 0)
        return qt_error_string(errno);
    if (bytes.size() > old.size()) {
        const int error = ::posix_fallocate(descriptor, 0, off_t(bytes.size()));
        if (error != 0 && error != EOPNOTSUPP && error != EINVAL)
            return qt_error_string(error);
    }
    const bool written = replaceContent(descriptor, bytes);
    const QString reason = written ? QString() : qt_error_string(errno);
    const bool restored = written || replaceContent(descriptor, old);
    const QString restoreReason = restored ? QString() : qt_error_string(errno);
    restoreSetIdBits(descriptor, nativeName, before.st_mode, notice);
    if (written)
        return {};
    if (restored)
        return QStringLiteral("%1; the file's old content was put back").arg(reason);
    return QStringLiteral("%1, and the file's old content could not be put back (%2): the file "
                          "is damaged")
            .arg(reason, restoreReason);
}

// A replacement file belongs to whoever writes it, with a plain mode, and with the ACL the
// folder gives new files. Give it exactly what the old file has but its content: its
// extended attributes, the ACL among them, and no others; its owner and group (so that the
// game's own account can still read and write it); its mode with the special bits
// (read-only is how an admin keeps the game from rewriting it). False when any of it cannot
// be given, and the old file must then be written in place.
bool keepMetadata(int descriptor, const QString &nativeName, const struct stat &old)
{
    const std::optional<Attributes> wanted = attributesOf(QFile::encodeName(nativeName));
    const std::optional<Attributes> inherited = attributesOf(descriptor);
    struct stat made = {};
    if (!wanted || !inherited || !setAttributes(descriptor, *wanted, *inherited)
        || ::fstat(descriptor, &made) != 0)
        return false;
    // fchown clears the set-user-ID and set-group-ID bits, so the mode comes after it.
    if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid)
        && ::fchown(descriptor, old.st_uid, old.st_gid) != 0)
        return false;
    if (::fchmod(descriptor, old.st_mode & 07777) != 0)
        return false;
    // What the replacement really has now: a new owner drops the file's capabilities, and the
    // kernel clears set-group-ID for a group the writer is not in.
    return ::fstat(descriptor, &made) == 0 && made.st_uid == old.st_uid && made.st_gid == old.st_gid
           && (made.st_mode & 07777) == (old.st_mode & 07777) && attributesOf(descriptor) == wanted;
}

// A folder flagged append-only or immutable lets a replacement be made, but never renamed
// over the file nor removed again: the file is written in place, and nothing is left behind.
bool folderKeepsItsEntries(const QString &nativeName)
{
    const QString file = QFileInfo(nativeName).canonicalFilePath();
    if (file.isEmpty()) // gone meanwhile: the save goes on, and finds it so
        return false;
    const QString folder = QFileInfo(file).path();
    const int descriptor = ::open(QFile::encodeName(folder).constData(),
                                  O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
        return false;
    int flags = 0;
    const bool known = ::ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0;
    ::close(descriptor);
    return known && (flags & (FS_APPEND_FL | FS_IMMUTABLE_FL)) != 0;
}

// A rename that a write in place can do without: over a file mounted on its own (busy), from
// another file system, or in a folder whose entries this user may not replace.
bool renameRefusedWhereInPlaceWorks(const QSaveFile &file)
{
    if (file.error() != QFileDevice::RenameError)
        return false;
    const QString reason = file.errorString();
    return reason == qt_error_string(EBUSY) || reason == qt_error_string(EXDEV)
           || reason == qt_error_string(EPERM);
}

} // namespace

QString replaceFile(const QString &nativeName, const QByteArray &bytes, QString &notice)
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
    // A replacement would no longer be the file that the other links share, and in a folder
    // that keeps its entries it could take no place.
    if (exists && (old.st_nlink > 1 || folderKeepsItsEntries(nativeName)))
        return writeInPlace(nativeName, bytes, notice);
    QSaveFile file(nativeName);
    // Unbuffered, so that a full disk fails the write itself, with the system's reason.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        // The folder allows no new file, but the file itself may be writable.
        if (exists)
            return writeInPlace(nativeName, bytes, notice);
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
        return writeInPlace(nativeName, bytes, notice);
    }
    // The commit flushes the replacement to disk before it renames it.
    if (!file.commit()) {
        if (exists && renameRefusedWhereInPlaceWorks(file))
            return writeInPlace(nativeName, bytes, notice);
        return file.errorString();
    }
    return {};
}

} // namespace Platform
