#pragma once

// The names a setting goes by outside the window: the game's variable as the file's tag
// names it ("Server::HostName") and the short name of its field ("HostName"), either one
// without regard to case; and a quoting that shows any value whole on one line.

#include <QString>

namespace Prefs {

// The game's variable of field index, as "Server::HostName".
QString settingName(int index);

// The field that this name (either form, any case, a leading "$" allowed) stands for, or -1.
int settingIndex(QStringView name);

// The text as a JSON string: in double quotes, with quotes, backslashes, control characters,
// the line and paragraph separators and lone surrogates escaped, so that blanks and all else
// stay visible on one line.
QString quoted(QStringView text);

} // namespace Prefs
