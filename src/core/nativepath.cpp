#include "nativepath.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace Platform {

QString homeFolder()
{
#ifdef Q_OS_UNIX
    // Qt takes the root folder for a home when HOME is unset or empty.
    if (qEnvironmentVariableIsEmpty("HOME")) {
        if (const passwd *user = ::getpwuid(::getuid()); user && user->pw_dir && *user->pw_dir)
            return QFile::decodeName(user->pw_dir);
    }
#endif
    return QDir::homePath();
}

QString backupCopyName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\windows\\desktop\\test.txt");
#else
    const QString home = homeFolder();
    // QStandardPaths finds the desktop through HOME as well, which may not be set.
    const QString desktop
            = home == QDir::homePath()
                      ? QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)
                      : home + QLatin1StringView("/Desktop");
    return QDir(QDir(desktop).exists() ? desktop : home).filePath(QStringLiteral("test.txt"));
#endif
}

QString winePrefix()
{
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    return QDir::isAbsolutePath(prefix) ? QDir::cleanPath(prefix)
                                        : homeFolder() + QLatin1StringView("/.wine");
}

QString wineDriveFolder(QChar driveLetter)
{
    return winePrefix() + QLatin1StringView("/dosdevices/") + driveLetter.toLower() + u':';
}

#ifdef Q_OS_WIN

QString nativeFileName(const QString &programName)
{
    return programName;
}

#else

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

#endif

} // namespace Platform

namespace Platform {

QString displayName(const QString &nativeName)
{
    // A NUL cannot be in a file's name; show where it stands rather than ask the system.
    if (nativeName.contains(QChar(u'\0')))
        return QString(nativeName).replace(QChar(u'\0'), QLatin1StringView("\\0"));
    return QDir::toNativeSeparators(QFileInfo(nativeName).absoluteFilePath());
}

} // namespace Platform
