#include "filelock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

namespace {

// An open description of the file the name leads to now, or -1 when there is none to lock:
// no file yet, no right to open it, or no regular file (whose open fails later, and says why).
int openForLock(const QByteArray &name)
{
    int descriptor = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0 && errno == EACCES) // a file the writer may write but not read
        descriptor = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat status = {};
    if (descriptor >= 0 && (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode))) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

// The name still leads to the file of the descriptor: no replace came in between.
bool nameLeadsTo(const QByteArray &name, int descriptor)
{
    struct stat named = {}, locked = {};
    return ::stat(name.constData(), &named) == 0 && ::fstat(descriptor, &locked) == 0
           && named.st_dev == locked.st_dev && named.st_ino == locked.st_ino;
}

} // namespace

FileLock::FileLock(const QString &nativeName, Kind kind)
{
    if (nativeName.contains(QChar(u'\0')))
        return; // no file has such a name; its open fails and says so
    const QByteArray name = QFile::encodeName(nativeName);
    // An open file description of its own: flock excludes the threads of one process too.
    const int operation = (kind == Kind::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB;
    const QDeadlineTimer deadline(WaitMilliseconds);
    for (;;) {
        const int descriptor = openForLock(name);
        if (descriptor < 0)
            return;
        if (::flock(descriptor, operation) == 0) {
            if (nameLeadsTo(name, descriptor)) {
                m_handle = descriptor;
                return;
            }
            ::close(descriptor); // replaced while we waited: lock the new file
            continue;
        }
        const int error = errno;
        ::close(descriptor);
        if (error != EWOULDBLOCK && error != EINTR) { // ENOLCK, EOPNOTSUPP, EBADF on NFS
            m_state = State::Unsupported;
            m_reason = qt_error_string(error);
            return;
        }
        if (deadline.hasExpired()) {
            m_state = State::Busy;
            return;
        }
        QThread::msleep(RetryMilliseconds);
    }
}

FileLock::~FileLock()
{
    if (m_handle >= 0)
        ::close(int(m_handle)); // and with it the lock
}

} // namespace Platform
