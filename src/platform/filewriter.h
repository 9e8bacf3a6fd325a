#pragma once

// Replaces a file's whole content without ever losing the old one: the bytes go to a
// temporary file beside the target, which is renamed over it only once all is written.
// The old file's mode and owner are kept, and a symbolic link keeps pointing at its
// target, which is what gets written. Where the folder does not allow a new file but the
// file itself is writable (a shared game folder), the file is written in place.

#include <QByteArray>
#include <QString>

namespace Platform {

// Empty on success, else the system's reason.
QString writeWholeFile(const QString &nativeName, const QByteArray &bytes);

} // namespace Platform
