#pragma once

// How each platform replaces a file's content and keeps all else about it: the unit behind
// writeWholeFile, one file of its own for each platform.

#include <QByteArray>
#include <QString>

namespace Platform {

// Replaces the content of the file (a regular file, or a link to one) as savefile.h says.
// Empty on success, else the reason; notice then says what the user should still know.
QString replaceFile(const QString &nativeName, const QByteArray &bytes, QString &notice);

} // namespace Platform
