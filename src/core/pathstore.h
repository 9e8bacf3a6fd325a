#pragma once

// The path store: the file path.inf in the working folder, whose one line names the game
// folder. It is text of this machine (UTF-8 on Linux), so any folder name can be stored.

#include "result.h"

#include <QIODevice>

#include <optional>

// Appended to the game folder to name its preferences file.
inline constexpr QLatin1StringView PrefsFile{"\\config\\serverprefs.cs"};
// Appended to the game folder to name the folder the skin dialog opens in.
inline constexpr QLatin1StringView SkinsFolder{"\\base\\skins"};

namespace GameDir {

inline constexpr QLatin1StringView PathStoreName{"path.inf"};

// The longest game folder path.inf holds, in bytes: the longest path of the platform. A
// longer first line is no path, and fails the read like a bad one.
inline constexpr qsizetype LongestPath = 4096;

// The first line of path.inf in the working folder; empty when the file cannot be opened or
// holds no line.
std::optional<QString> readPathStore();
// The same of a path store of this name.
std::optional<QString> readPathStore(const QString &nativeName, QString *refusal = nullptr);
// The same from an open device. A byte-order mark is no part of the line: after a UTF-8 one
// the line is UTF-8, after a UTF-16 one (either order) UTF-16; without one it is in the code
// page, or in UTF-8 when only that reading names a folder that is there. UTF-16 without a
// byte-order mark gives no line, and refusal says why. On Windows, where no name holds a ",
// quotes around the whole path are no part of it.
std::optional<QString> readPathStore(QIODevice &device, QString *refusal);

// Fails when the path cannot be path.inf's one line: a line break or a NUL in it, or more
// than LongestPath bytes.
Result checkStorablePath(const QString &path);

// After checkStorablePath, replaces path.inf by the path and CR LF.
Result writePathStore(const QString &path);

} // namespace GameDir
