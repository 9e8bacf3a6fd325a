#include "filelock.h"

#include "private/windowsfile.h"
#include "regularfile.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFileInfo>

#include <windows.h>

namespace Platform {

// A named mutex of the session stands for the file: its name is made of the file's full path
// in lower case, the way Windows compares names. Readers take it as writers do.
FileLock::FileLock(const QString &nativeName, Kind)
{
    if (nativeName.contains(QChar(u'\0')))
        return; // no file has such a name; its open fails and says so
    const QByteArray digest = QCryptographicHash::hash(
            QFileInfo(nativeName).absoluteFilePath().toLower().toUtf8(), QCryptographicHash::Sha1);
    const QString name = QStringLiteral("Local\\Tolvane-") + QString::fromLatin1(digest.toHex());
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, reinterpret_cast<LPCWSTR>(name.utf16()));
    if (!mutex) {
        m_state = State::Unsupported;
        m_reason = systemReason(::GetLastError());
        return;
    }
    const DWORD waited = ::WaitForSingleObject(mutex, WaitMilliseconds);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        ::CloseHandle(mutex);
        m_state = State::Busy;
        return;
    }
    m_handle = reinterpret_cast<qintptr>(mutex);
}

FileLock::~FileLock()
{
    if (m_handle == -1)
        return;
    HANDLE mutex = reinterpret_cast<HANDLE>(m_handle);
    ::ReleaseMutex(mutex);
    ::CloseHandle(mutex);
}

} // namespace Platform
