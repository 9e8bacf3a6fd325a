#include "nativepath.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

namespace Platform {

QString homeFolder()
{
    // Qt takes the root folder for a home when HOME is unset or empty.
    if (qEnvironmentVariableIsEmpty("HOME")) {
        if (const passwd *user = ::getpwuid(::getuid()); user && user->pw_dir && *user->pw_dir)
            return QFile::decodeName(user->pw_dir);
    }
    return QDir::homePath();
}

QString backupCopyName()
{
    const QString home = homeFolder();
    // QStandardPaths finds the desktop through HOME as well, which may not be set.
    const QString desktop
            = home == QDir::homePath()
                      ? QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)
                      : home + QLatin1StringView("/Desktop");
    return QDir(QDir(desktop).exists() ? desktop : home).filePath(QStringLiteral("test.txt"));
}

QString launcherFolder()
{
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    return (configHome.isEmpty() ? homeFolder() + QLatin1StringView("/.config") : configHome)
           + QLatin1StringView("/tolvane");
}

QString virtualStoreCopy(const QString &)
{
    return {};
}

QString winePrefix()
{
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    return QDir::isAbsolutePath(prefix) ? QDir::cleanPath(prefix)
                                        : homeFolder() + QLatin1StringView("/.wine");
}

QString longPathNote(const QString &)
{
    return {};
}

QString withoutQuotes(const QString &path)
{
    return path; // a Linux name may hold any character but / and NUL
}

QString winePrefixProblem()
{
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    return prefix.isEmpty() || QDir::isAbsolutePath(prefix)
                   ? QString()
                   : QStringLiteral("WINEPREFIX must be an absolute path");
}

QString wineDriveFolder(QChar driveLetter)
{
    return winePrefix() + QLatin1StringView("/dosdevices/") + driveLetter.toLower() + u':';
}

namespace {

bool isDrive(const QString &part)
{
    return part.size() == 2 && part.at(1) == u':' && part.at(0).isLetter()
           && part.at(0).unicode() < 128;
}

// The exact name when it exists, else the first entry equal to it without regard to case.
QString matchingEntry(const QString &folder, const QString &part)
{
    if (part == u"." || part == u".." || QFileInfo::exists(folder + u'/' + part))
        return part;
    QDir dir(folder);
    const QStringList entries = dir.entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.compare(part, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return part;
}

} // namespace

QString nativeFileName(const QString &programName)
{
    // No file has such a name: its open fails and says so, without asking the system first.
    if (programName.contains(QChar(u'\0')))
        return programName;
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    QStringList parts = programName.split(separators, Qt::SkipEmptyParts);
    QString folder;
    const bool rooted = programName.startsWith(u'\\') || programName.startsWith(u'/');
    if (!parts.isEmpty() && isDrive(parts.first()))
        folder = wineDriveFolder(parts.takeFirst().at(0));
    else if (!rooted && !parts.isEmpty() && parts.first() == u"~") // as the shell's "~"
        folder = (parts.removeFirst(), homeFolder());
    else if (rooted)
        folder = QStringLiteral("/");
    else
        folder = QStringLiteral(".");

    bool found = true;
    for (const QString &part : std::as_const(parts)) {
        const QString entry = found ? matchingEntry(folder, part) : part;
        folder = folder.endsWith(u'/') ? folder + entry : folder + u'/' + entry;
        found = found && QFileInfo::exists(folder);
    }
    if (folder.startsWith(u"./"))
        folder.remove(0, 2);
    return folder;
}

QList<std::pair<QString, QString>> drives()
{
    const QString home = homeFolder();
    QList<std::pair<QString, QString>> result
            = {{QStringLiteral("/"), QStringLiteral("/")}, {home, home}};
    const QDir dosDevices(winePrefix() + QStringLiteral("/dosdevices"));
    // QDir::System lists a drive whose link leads nowhere: a drive without a medium.
    const QStringList entries = dosDevices.entryList(
            QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.size() == 2 && entry.at(1) == u':')
            result.append({entry, wineDriveFolder(entry.at(0))});
    }
    return result;
}

} // namespace Platform
