#pragma once

// Opens a file by name only when it is a regular file, and never blocks doing so. A named
// pipe would hold the open until a writer comes, and a device or a folder is no document.
// The kind is checked on the descriptor that was opened, so nothing can be swapped in
// between the check and the use.

#include <QFile>
#include <QString>

namespace Platform {

// Opens file (by its fileName()) in mode, without truncating it. Empty on success, else the
// reason: the system's, or what the file is instead ("it is a named pipe, not a file").
QString openRegularFile(QFile &file, QIODevice::OpenMode mode);

// On Unix: why a file of this st_mode cannot be read or written as a document; empty for a
// regular file.
QString notRegularReason(unsigned fileMode);

// Why the name cannot name a file at all (it holds a NUL character, or a part that was not
// valid UTF-8); empty when it can.
QString unusableNameReason(const QString &nativeName);

#ifdef Q_OS_WIN
// Whether Windows keeps the name for a device in every folder, whatever its extension (CON,
// NUL, COM1.txt), or it is a device path (\\.\COM1, \\?\ before anything but a drive or a share).
bool isDeviceName(const QString &nativeName);

// Whether the error says that another program holds the file without sharing it.
bool inUseByAnother(unsigned long error);

// The system's words for an error, without the full stop Windows ends them with: the messages
// add their own; Tolvane's own words for a file in use by another program.
QString systemReason(unsigned long error);
#endif

} // namespace Platform
