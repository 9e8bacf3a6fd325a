#pragma once

// tolvane-cli: the game's server preferences from a shell, read, refused and written through
// the window's own document engine; what the window would ask about before a save, the tool
// refuses unless told --force.

#include <QIODevice>
#include <QStringList>

namespace Cli {

enum Status { Success = 0, Failure = 1, UsageError = 2 };

// Runs the tool with these arguments (the first names the program), reading standard input
// from in and writing UTF-8 to out and err; gives the exit status.
int run(const QStringList &arguments, QIODevice &in, QIODevice &out, QIODevice &err);

} // namespace Cli
