#include "private/windowsfile.h"
#include "regularfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstring>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace Platform {

bool isDeviceName(const QString &nativeName)
{
    const QString name = QDir::toNativeSeparators(nativeName);
    static const QRegularExpression devicePath(
            QStringLiteral(R"(^\\\\[.?]\\(?![A-Za-z]:\\|UNC\\))"),
            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression reserved(
            QStringLiteral(R"(^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9]) *(\..*)?$)"),
            QRegularExpression::CaseInsensitiveOption);
    return devicePath.match(name).hasMatch()
           || reserved.match(QFileInfo(nativeName).fileName()).hasMatch();
}

bool inUseByAnother(unsigned long error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

QString systemReason(unsigned long error)
{
    if (inUseByAnother(error))
        return QStringLiteral("it is in use by another program");
    QString reason = qt_error_string(int(error)).trimmed();
    if (reason.endsWith(u'.'))
        reason.chop(1);
    return reason;
}

QString openRegularFile(QFile &file, QIODevice::OpenMode mode)
{
    if (QString reason = unusableNameReason(file.fileName()); !reason.isEmpty())
        return reason;
    if (isDeviceName(file.fileName()))
        return QStringLiteral("it is a device, not a file");
    const QString name = QDir::toNativeSeparators(file.fileName());
    const auto wide = reinterpret_cast<LPCWSTR>(name.utf16());
    const DWORD attributes = ::GetFileAttributesW(wide);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return QStringLiteral("it is a folder, not a file");
    const bool writing = mode & QIODevice::WriteOnly;
    if (writing && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return QStringLiteral("Permission denied: the file is read-only");
    const DWORD access
            = (mode & QIODevice::ReadOnly ? GENERIC_READ : 0) | (writing ? GENERIC_WRITE : 0);
    HANDLE handle
            = ::CreateFileW(wide, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return systemReason(::GetLastError());
    // A pipe or a console behind an ordinary name is no document either.
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        return QStringLiteral("it is a device, not a file");
    }
    const int flags = _O_BINARY
                      | (writing ? (mode & QIODevice::ReadOnly ? _O_RDWR : _O_WRONLY) : _O_RDONLY);
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
    if (descriptor < 0) {
        ::CloseHandle(handle);
        return QString::fromLocal8Bit(std::strerror(errno)); // the C library's words
    }
    if (!file.open(descriptor, mode, QFileDevice::AutoCloseHandle)) {
        _close(descriptor);
        return file.errorString();
    }
    return {};
}

} // namespace Platform
