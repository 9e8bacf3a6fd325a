#pragma once

// tolvane-cli: the game's server preferences from a shell, read, refused and written through
// the window's own document engine; what the window would ask about before a save, the tool
// refuses unless told --force.

#include <QIODevice>
#include <QStringList>

namespace Cli {

enum Status { Success = 0, Failure = 1, UsageError = 2, CannotDo = 3 };

// What each exit status means, as --help and the manual page say it.
struct StatusMeaning
{
    Status status;
    const char *meaning;
};
inline constexpr StatusMeaning ExitStatuses[] = {
        {Success, "done; nothing to report; the same"},
        {Failure, "something found, or a write refused with the file kept: a check finding; a "
                  "difference; a value the file cannot hold; a change that needs --force; a JSON "
                  "key given twice, a value of the wrong type or a number that would be stored "
                  "as another; a setting that has no value to give (not set, or a broken line)"},
        {UsageError, "usage: an unknown command, option or setting name; an argument that is not "
                     "UTF-8; --game with an empty value; input that is empty, not UTF-8 or not a "
                     "JSON object"},
        {CannotDo, "could not do it: no path.inf; cannot open, read or write a file or standard "
                   "output; a value that standard output's code page lacks; the lock busy; the "
                   "file kept changing; the file or the JSON input too large"},
};

// The code pages of standard output and error: 0 for UTF-8, else a console's page, which a
// pipe or a file of a Windows console program is written in.
struct CodePages
{
    unsigned out = 0;
    unsigned err = 0;
};

// Runs the tool with these arguments (the first names the program), reading standard input
// from in and writing to out and err in their code pages (--utf8: UTF-8 whatever they are);
// gives the exit status.
int run(const QStringList &arguments, QIODevice &in, QIODevice &out, QIODevice &err,
        CodePages pages = {});

} // namespace Cli
