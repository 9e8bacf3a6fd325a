#pragma once

// Values as plain text for panels: the script's escapes decoded, so that any text passes
// through set and get unchanged, quotes and backslashes included. Script text is what the file
// holds between the quotes; plain text is what the game makes of it.

#include <QString>

#include <optional>

namespace Prefs {

// The script's escapes that have a plain form: \" for ", \\ for \, \n for a line break. A raw
// TAB is its own plain form, so \t has none.
struct Escape
{
    char16_t script; // the character after the backslash
    char16_t plain;
};
inline constexpr Escape Escapes[] = {{u'"', u'"'}, {u'\\', u'\\'}, {u'n', u'\n'}};

// The plain text of a value, or nothing when it holds a backslash that starts no escape of
// the table.
std::optional<QString> plainText(const QString &script);
// The script text whose plain text this is.
QString scriptText(const QString &plain);

} // namespace Prefs
