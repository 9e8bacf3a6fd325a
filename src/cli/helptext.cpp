#include "tool.h"

namespace Cli {

namespace {

const char HelpText[]
        = R"(Usage: tolvane-cli COMMAND [ARGUMENTS] [OPTIONS]
The server preferences of the game Tribes, config/ServerPrefs.cs, from a shell: read, checked
and written with the rules of the Tolvane window, and written as its Save and Exit writes them.

Commands:
  list                 the 54 settings in the game's order, one a line: its name, then its
                       value, (cannot read line N) or (not set); then the file's other settings
  list --names         the names of every setting; reads no file
  get NAME...          the values of these settings, one a line, as they are; nothing, and
                       exit status 1, for one whose line the game cannot read or that no line sets
  set NAME=VALUE...    changes these settings and writes the file; another setting of the file
                       on every line that sets it; one that no line sets is added at the end
  check                what a save would change in the file, line by line
  export --json [--all]
                       the 54 settings as one JSON object keyed by the game's variable names;
                       --all adds the file's other settings, such as Server::Password
  import --json FILE   sets the settings of such an object, which may name only some of them;
                       FILE - is standard input, and a named pipe or a device is read as such
  diff OTHER           each setting whose value differs from OTHER's, a game folder or a file,
                       one a line: NAME: "this" -> "other"; a line the game cannot read differs

NAME is the game's variable as the file names it, such as Server::HostName, or the window's
name of its field, such as HostName, in any letter case; or another setting of the file, by its
full name or the part after ::, such as Password for Server::Password. set and import add a
variable that the file lacks by its full name; one within two letters of a known name is
refused as a typo unless --add is given.
VALUE, and the values of get, export and import, are script text: the game reads \" as a
quote, \\ as a backslash and \n as a line break, so a value cannot end in a lone \. With
--plain, values are plain text instead: any text, quotes and backslashes included, passes
through set and import, and comes back the same from get, export and list; a value whose
backslashes start no such escape has no plain form, and get names it.
list, check and diff show values as JSON strings: in double quotes, with \" \\ \n \r \t and \uXXXX
for quotes, backslashes and control characters, so that blanks and all else show.

The file is read as the game reads it: each setting takes the value of the last line that sets
it; every other line is kept, and a save writes it after the 54. set and import write nothing
when a value cannot be written (a line break or another control character but TAB, more than
32767 characters, a character that the game's code page cannot store, what the game's script
cannot read); nor, unless --force is given, when no line sets one of the 54 (a save writes it
empty); nor over a line of one of the 54 that the game cannot read, even with --force, unless
the same command gives that setting a value. check tells which.

Options:
  --game DIR      the game folder: the file is DIR\config\ServerPrefs.cs, in any letter case
  --file FILE     a preferences file or backup, named as it is
  --dry-run       set and import: tell what would change, and write nothing
  --force         set and import: write even where no line sets a setting; never over a line
                  that the game cannot read
  --add           set and import: add a variable that the file lacks, though a known name is
                  within two letters of its name
  --all           export: the file's other settings too
  --plain         values as plain text, not script text
  --utf8          write UTF-8 to a pipe or a file, whatever the console's code page
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
drive of the Wine prefix that WINEPREFIX names (an absolute path), else ~/.wine, which under
sudo is root's: give --game then.
)"
#endif
          R"(
A reader waits up to 5 seconds while another of Tolvane's programs writes the file, and lets it
go once it has read, before it prints. Arguments and JSON input are UTF-8 (JSON also UTF-16
with a byte-order mark), and so is the output; but on Windows, output to a pipe or a file of a
console whose code page is not 65001 is in that code page, as for Windows' own console tools,
unless --utf8 is given. get and list then print nothing, with exit status 3, when a value holds
a character the page lacks; other output writes it as U+XXXX, and export --json as \uXXXX.

Exit status:
)";

} // namespace

QString helpText()
{
    QString text = QString::fromUtf8(HelpText);
    for (const StatusMeaning &row : ExitStatuses) {
        QString line = QStringLiteral("  %1 ").arg(row.status);
        for (const QString &word : QString::fromUtf8(row.meaning).split(u' ')) {
            if (line.size() + 1 + word.size() > 95) { // wrapped under its own indent
                text += line + u'\n';
                line = QStringLiteral("    ");
            }
            line += u' ' + word;
        }
        text += line + u'\n';
    }
    return text;
}

} // namespace Cli
