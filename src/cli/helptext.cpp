#include "tool.h"

namespace Cli {

const char HelpText[]
        = R"(Usage: tolvane-cli COMMAND [ARGUMENTS] [OPTIONS]
The server preferences of the game Tribes, config/ServerPrefs.cs, from a shell: read, checked
and written with the rules of the Tolvane window, and written as its Save and Exit writes them.

Commands:
  list                 every setting in file order, one a line: its name, then its value
  list --names         the two names of every setting; reads no file
  get NAME...          the values of these settings, one a line, as they are
  set NAME=VALUE...    changes these settings and writes the file
  check                what a save would change in the file, line by line
  export --json        every setting, as one JSON object keyed by the game's variable names
  import --json FILE   sets the settings of such an object, which may name only some of them;
                       FILE - is standard input

NAME is the game's variable as the file names it, such as Server::HostName, or the window's
name of its field, such as HostName, in any letter case.
list and check show values as JSON strings: in double quotes, with \" \\ \n \r \t and \uXXXX
for quotes, backslashes and control characters, so that blanks and all else show.

set and import write nothing when a value cannot be written (a line break, more than 32767
characters, a character that the game's code page cannot store), nor over a file of which a
save would lose, change or move settings: text after the 54th line, lines of other
variables, lines whose value a save writes otherwise, a file of fewer than 54 lines. check
tells which.

Options:
  --game DIR      the game folder: the file is DIR\config\ServerPrefs.cs, in any letter case
  --file FILE     a preferences file or backup, named as it is
  --dry-run       set and import: tell what would change, and write nothing
  --force         set and import: write even where a save loses or moves settings
  -h, --help      this text
  -v, --version   the version

)"
#ifdef Q_OS_WIN
          R"(Without --game or --file the file is the window's: path.inf in the working folder, else in
%APPDATA%\Tolvane, names the game folder.
)"
#else
          R"(Without --game or --file the file is the window's: path.inf in the working folder, else in
~/.config/tolvane, names the game folder. A drive letter there, as in C:\Dynamix\Tribes, is a
drive of the Wine prefix in the home folder, which under sudo is root's: give --game then.
)"
#endif
          R"(
Arguments, JSON and output are UTF-8. Exit status: 0 done; 1 a file could not be read or
written, a write was refused, or check found something; 2 a wrong command, option or name.)";

} // namespace Cli
