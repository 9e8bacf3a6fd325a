#pragma once

// Replaces a file's whole content without ever losing the old one. Only a regular file, or
// a symbolic link to one, is written; a link keeps pointing at its target, which is what
// gets written. The bytes go to a temporary file beside the target that takes the old
// file's owner, group, mode (its special bits too) and extended attributes (its ACL among
// them) and is renamed over it once all is written. Where that cannot keep the file as it
// was (a folder that allows no new file, an owner, group, mode or attribute the writer may
// not give, a second hard link), the file is written in place instead: its new size
// reserved first, and its old bytes put back should a write fail part way.

#include "result.h"

#include <QByteArray>

namespace Platform {

Result writeWholeFile(const QString &nativeName, const QByteArray &bytes);

// The one wording of a write that failed: the file, and the reason.
Result writeFailure(const QString &nativeName, const QString &reason);

// The failure of a writer, or a reader, that waited in vain for its turn.
Result lockBusy(const QString &nativeName, bool reading = false);

} // namespace Platform
