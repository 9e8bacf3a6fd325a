#pragma once

// The path store: the file path.inf in the working folder, whose one line names the game
// folder. It is text of this machine (UTF-8 on Linux), so any folder name can be stored.

#include <QIODevice>
#include <QString>

#include <optional>

namespace GameDir {

inline constexpr QLatin1StringView PathStoreName{"path.inf"};

// The first line of path.inf; empty when the file cannot be opened or holds no line.
std::optional<QString> readPathStore();
// The same from an open device.
std::optional<QString> readPathStore(QIODevice &device);

// Replaces path.inf by the path and CR LF. Empty on success, else the reason, file named.
QString writePathStore(const QString &path);

} // namespace GameDir
