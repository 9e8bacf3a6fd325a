#include "private/replacefile.h"

#include "private/windowsfile.h"
#include "regularfile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <windows.h>

namespace Platform {

namespace {

LPCWSTR wide(const QString &name)
{
    return reinterpret_cast<LPCWSTR>(name.utf16());
}

// Writes into the existing file, which keeps its security, attributes and streams; its new
// size reserved first, and its old bytes put back should a write fail part way.
QString writeInPlace(const QString &nativeName, const QByteArray &bytes)
{
    QFile file(nativeName);
    if (QString reason = openRegularFile(file, QIODevice::ReadWrite); !reason.isEmpty())
        return reason;
    const QByteArray old = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    const auto replace = [&file](const QByteArray &content) {
        return file.resize(qMax(content.size(), file.size())) && file.seek(0)
               && file.write(content) == content.size() && file.resize(content.size())
               && file.flush();
    };
    if (replace(bytes))
        return {};
    const QString reason = file.errorString();
    if (replace(old))
        return QStringLiteral("%1; the file's old content was put back").arg(reason);
    return QStringLiteral("%1, and the file's old content could not be put back: the file is "
                          "damaged")
            .arg(reason);
}

// Whether another program holds the file without sharing its deletion: the error of an open
// for deletion, which ReplaceFile needs, or ERROR_SUCCESS when nothing stands in its way.
DWORD deletionBlocked(const QString &nativeName)
{
    HANDLE probe = ::CreateFileW(wide(nativeName), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE)
        return ::GetLastError();
    ::CloseHandle(probe);
    return ERROR_SUCCESS;
}

// The empty files that ReplaceFile (Wine's, at least) leaves behind when it fails, "rf*.tmp".
QStringList replaceLeftovers(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("rf*.tmp")},
                                  QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace

QString replaceFile(const QString &nativeName, const QByteArray &bytes, QString & /*notice*/)
{
    if (QString reason = unusableNameReason(nativeName); !reason.isEmpty())
        return reason;
    if (isDeviceName(nativeName))
        return QStringLiteral("it is a device, not a file");
    QString target = QDir::toNativeSeparators(QFileInfo(nativeName).absoluteFilePath());
    // The name as the folder spells it, which the replacement then keeps.
    WIN32_FIND_DATAW found = {};
    if (HANDLE search = ::FindFirstFileW(wide(target), &found); search != INVALID_HANDLE_VALUE) {
        ::FindClose(search);
        target = QDir::toNativeSeparators(QFileInfo(target).absolutePath()) + u'\\'
                 + QString::fromWCharArray(found.cFileName);
    }
    const DWORD attributes = ::GetFileAttributesW(wide(target));
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return QStringLiteral("it is a folder, not a file");
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) // as a file without write permission
        return QStringLiteral("Permission denied: the file is read-only");
    if (exists) { // a device or no regular file is refused before anything is written
        QFile probe(nativeName);
        if (QString reason = openRegularFile(probe, QIODevice::ReadOnly); !reason.isEmpty())
            return reason;
    }
    // Beside the target, written whole, then put in its place by ReplaceFile, which keeps the
    // old file's security, attributes and streams (a plain move would give the folder's).
    const QString made = QDir::toNativeSeparators(QFileInfo(target).absolutePath())
                         + QStringLiteral("\\~tolvane-%1.tmp").arg(::GetCurrentProcessId());
    // Made with the old file's hidden, system, archive and indexing attributes: not every
    // ReplaceFile carries them over.
    const DWORD kept
            = exists ? attributes
                               & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
                                  | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED)
                     : 0;
    HANDLE replacement = ::CreateFileW(wide(made), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       kept ? kept : FILE_ATTRIBUTE_NORMAL, nullptr);
    if (replacement == INVALID_HANDLE_VALUE) {
        if (exists) // the folder allows no new file, but the file itself may be writable
            return writeInPlace(nativeName, bytes);
        return systemReason(::GetLastError());
    }
    DWORD written = 0;
    const bool whole
            = ::WriteFile(replacement, bytes.constData(), DWORD(bytes.size()), &written, nullptr)
              && written == DWORD(bytes.size()) && ::FlushFileBuffers(replacement);
    const DWORD writeError = ::GetLastError();
    ::CloseHandle(replacement);
    auto removeReplacement = qScopeGuard([&made] { ::DeleteFileW(wide(made)); });
    if (!whole)
        return systemReason(writeError);
    if (!exists)
        return ::MoveFileExW(wide(made), wide(target), MOVEFILE_WRITE_THROUGH)
                       ? QString()
                       : systemReason(::GetLastError());
    // A virus scanner or an indexer may hold the file a moment: the probe tries again for a
    // second, and ReplaceFile is called once, when nothing holds the file.
    const QDeadlineTimer deadline(1000);
    for (DWORD blocked; (blocked = deletionBlocked(target)) != ERROR_SUCCESS;) {
        if (!inUseByAnother(blocked))
            return QStringLiteral("replacing it is not permitted (%1)").arg(systemReason(blocked));
        if (deadline.hasExpired())
            return systemReason(blocked);
        QThread::msleep(50);
    }
    const QString folder = QFileInfo(target).absolutePath();
    const QStringList leftBefore = replaceLeftovers(folder);
    if (::ReplaceFileW(wide(target), wide(made), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                       nullptr))
        return {};
    const DWORD error = ::GetLastError();
    // Failed half way: the old file may be gone already, and the new content must not go too.
    if (::GetFileAttributesW(wide(target)) == INVALID_FILE_ATTRIBUTES) {
        if (::MoveFileExW(wide(made), wide(target), MOVEFILE_WRITE_THROUGH))
            return {};
        removeReplacement.dismiss();
        return QStringLiteral("%1; its new content is kept in \"%2\"")
                .arg(systemReason(error), made);
    }
    for (const QString &left : replaceLeftovers(folder)) {
        if (!leftBefore.contains(left) && QFileInfo(folder + u'/' + left).size() == 0)
            QFile::remove(folder + u'/' + left);
    }
    if (inUseByAnother(error) || error == ERROR_UNABLE_TO_REMOVE_REPLACED)
        return systemReason(error);
    // Denied with nothing holding the file, say: this user may write it, but not replace it.
    return writeInPlace(nativeName, bytes);
}

} // namespace Platform
