#pragma once

// The 8-bit code page of the game's files (Windows-1252 on Linux, the ANSI code page on
// Windows). Every byte maps to one character and back, so unedited text round-trips.

#include <QByteArray>
#include <QString>

#include <optional>

namespace Platform {

QString decodeDocumentText(QByteArrayView bytes);

// Empty when a character has no byte in the code page.
std::optional<QByteArray> encodeDocumentText(QStringView text);

} // namespace Platform
