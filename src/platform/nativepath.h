#pragma once

// Turns the program's own file names, written as on Windows ("C:\Dynamix\Tribes",
// "\config\serverprefs.cs", "path.inf"), into names of this machine. Every open of a file
// or folder goes through here; the program's strings themselves never change form.
//
// On Linux: "\" and "/" both separate and empty parts are skipped; a leading drive letter
// "X:" is the Wine prefix's drive (~/.wine/dosdevices/x:, or in WINEPREFIX); a leading "~"
// part is the home folder; a name part that does
// not exist with its exact case matches the first entry of its folder, in sorted order,
// that is equal to it without regard to case; a name without a leading separator or drive
// is relative to the working folder. On Windows the name is used as it is.

#include <QList>
#include <QString>

#include <utility>

namespace Platform {

QString nativeFileName(const QString &programName);

// The user's home folder; from the user database when HOME is unset or empty.
QString homeFolder();

// Where Create Backup writes "c:\windows\desktop\test.txt": test.txt on the desktop, or in
// the home folder when there is no desktop folder. On Windows the name stands as it is.
QString backupCopyName();

// The Wine prefix whose drives the drive letters are: WINEPREFIX when it is an absolute path,
// else ~/.wine.
QString winePrefix();
// Why the drive letters cannot be used as Wine would: WINEPREFIX holds a relative path, which
// Wine refuses; empty when they can, and on Windows.
QString winePrefixProblem();
// The folder that a drive letter stands for ("c" gives ~/.wine/dosdevices/c:).
QString wineDriveFolder(QChar driveLetter);

// The folder of Tolvane's own that the desktop menu or the Start menu starts it in, where
// path.inf and serverprefs.bak are kept: ~/.config/tolvane (in XDG_CONFIG_HOME, when set) on
// Linux, %APPDATA%\Tolvane on Windows.
QString launcherFolder();

// Where an old program under Program Files really finds this file on Windows: the copy in
// the user's VirtualStore that Windows redirects its writes to, when there is one; else empty.
QString virtualStoreCopy(const QString &nativeName);

// The drives the folder browser offers, as (its name, the folder it opens): on Linux the root
// folder, the home folder and each drive of the Wine prefix ("c:"); on Windows its drives.
QList<std::pair<QString, QString>> drives();

// A path as a name can be: on Windows, where no name holds a ", without the quotes around the
// whole of it that Explorer's "Copy as path" adds; elsewhere as it is.
QString withoutQuotes(const QString &path);

// Why a name may have failed for its length alone, as a sentence to add to the reason: on
// Windows a path of 260 characters or more without the LongPathsEnabled policy (the README
// says how to turn it on); else empty.
QString longPathNote(const QString &nativeName);

// The name to show the user: absolute, so a relative name says where it was looked for.
QString displayName(const QString &nativeName);

} // namespace Platform
