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

} // namespace Platform
