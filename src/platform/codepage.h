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

// The code page of a console program's standard output or error that goes to a pipe or a
// file: on Windows the console's output code page, when the program has a console and that
// page is not UTF-8 (65001), as Windows' own console tools write; else 0, for UTF-8.
unsigned redirectedOutputCodePage();

// The text in a code page (0 for UTF-8); nothing when the page lacks one of its characters.
// On Linux the other pages are the game's, Windows-1252, and US-ASCII (20127).
std::optional<QByteArray> encodeInCodePage(QStringView text, unsigned codePage);

} // namespace Platform
