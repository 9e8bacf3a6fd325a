#pragma once

// The names a setting goes by outside the window: the game's variable as the file's tag
// names it ("Server::HostName"), the name of its field ("HostName") and its caption ("Host
// Name"), without regard to case; and a quoting that shows any value whole on one line.

#include <QList>
#include <QString>
#include <QStringList>

namespace Prefs {

// The game's variable of field index, as "Server::HostName".
QString settingName(int index);

// The caption of field index as a screen reader says it: its label, and on the team page its
// column too ("Team 0 Names").
QString fieldCaption(int index);

// The fields that this name stands for: the game's variable with or without its namespace
// ("Server::MaxPlayers", "MaxPlayers"), the field's name ("MaxPlay"), in any case, a leading
// "$" allowed; or its caption, compared by its letters and digits alone ("max players").
// A team's label alone ("Team 0") names two.
QList<int> settingIndexes(QStringView name);
// The one field that this name stands for, or -1.
int settingIndex(QStringView name);

// How many letters must be added, removed or replaced to make one name the other, without
// regard to case.
int editDistance(QStringView first, QStringView second);

// Whether a variable's value is kept out of sight: its name holds "password", in any case.
bool isSecret(QStringView name);
// What a secret value shows in its place.
inline constexpr QStringView SecretMask = u"********";

// Whether the game's script takes this for a variable's full name: namespaces and a name, each
// a letter or _ and then letters, digits and _, parted by "::".
bool isVariableName(QStringView name);

// Among the variables of the 54 and these others, the one closest to the name, compared in
// full, or by the part after "::" when the name has none; and how many letters apart.
std::pair<QString, int> closestName(QStringView name, const QStringList &others);

// The text as a JSON string: in double quotes, with quotes, backslashes, control characters,
// the line and paragraph separators and lone surrogates escaped, so that blanks and all else
// stay visible on one line; asciiOnly, every character past ASCII too.
QString quoted(QStringView text, bool asciiOnly = false);

// "U+00E9": a character as its code point.
QString codePoint(char32_t character);

} // namespace Prefs
