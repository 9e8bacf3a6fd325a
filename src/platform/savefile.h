#pragma once

// Replaces a file's whole content without ever losing the old one. Only a regular file, or
// a symbolic link to one, is written; a link keeps pointing at its target, which is what
// gets written. The bytes go to a temporary file beside the target that takes exactly the
// old file's extended attributes (its ACL among them; "trusted.*" ones only when root
// writes), owner, group and mode (its special bits too), is flushed to disk, and is renamed
// over the old file. Where that cannot keep the file as it was (a folder that allows no new
// file, or is append-only, an owner, group, mode or attribute the writer may not give, a
// second hard link, a file mounted on its own), the file is written in place instead: its
// new size reserved first, its old bytes put back should a write fail part way, and its
// set-ID bits given back where the writer may (else the result's notice says so).

#include "result.h"

#include <QByteArray>

namespace Platform {

Result writeWholeFile(const QString &nativeName, const QByteArray &bytes);

// The one wording of a write that failed: the file, and the reason.
Result writeFailure(const QString &nativeName, const QString &reason);

// The failure of a writer, or a reader, that waited in vain for its turn.
Result lockBusy(const QString &nativeName, bool reading = false);

} // namespace Platform
