#include "nativepath.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <windows.h>

namespace Platform {

QString nativeFileName(const QString &programName)
{
    return programName;
}

QString homeFolder()
{
    return QDir::homePath(); // the user's profile folder
}

QString backupCopyName()
{
    // The Desktop folder the system reports (it may be redirected, or lie in OneDrive).
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return QDir(QDir(desktop).exists() ? desktop : homeFolder())
            .filePath(QStringLiteral("test.txt"));
}

QString launcherFolder()
{
    return QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA")) + QStringLiteral("/Tolvane");
}

QString virtualStoreCopy(const QString &nativeName)
{
    // Windows redirects the writes of an old 32-bit program under Program Files to
    // %LOCALAPPDATA%\VirtualStore\Program Files\..., and its reads to the copy found there.
    const QString file = QDir::fromNativeSeparators(QFileInfo(nativeName).absoluteFilePath());
    for (const char *variable : {"ProgramFiles", "ProgramFiles(x86)"}) {
        const QString programs = QDir::fromNativeSeparators(qEnvironmentVariable(variable));
        if (programs.isEmpty() || !file.startsWith(programs + u'/', Qt::CaseInsensitive))
            continue;
        const QString copy = QDir::fromNativeSeparators(qEnvironmentVariable("LOCALAPPDATA"))
                             + QStringLiteral("/VirtualStore") + file.mid(2); // without "C:"
        if (QFileInfo::exists(copy))
            return QDir::toNativeSeparators(copy);
    }
    return {};
}

// Drive letters are the machine's own: there is no Wine prefix.
QString winePrefix()
{
    return {};
}

QString longPathNote(const QString &nativeName)
{
    const qsizetype length
            = QDir::toNativeSeparators(QFileInfo(nativeName).absoluteFilePath()).size();
    if (length < MAX_PATH)
        return {};
    // The policy as the system reads it (Windows 10 1607 and later); taken as off elsewhere.
    using Enabled = BOOLEAN(WINAPI *)();
    const auto enabled = reinterpret_cast<Enabled>(reinterpret_cast<void (*)()>(
            ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlAreLongPathsEnabled")));
    if (enabled && enabled())
        return {};
    return QStringLiteral(" The path is %1 characters long: Windows takes 260 or more only with "
                          "its LongPathsEnabled policy on, as the README says.")
            .arg(length);
}

QString withoutQuotes(const QString &path)
{
    return path.size() >= 2 && path.startsWith(u'"') && path.endsWith(u'"') ? path.mid(1).chopped(1)
                                                                            : path;
}

QString winePrefixProblem()
{
    return {};
}

QString wineDriveFolder(QChar driveLetter)
{
    return QString(driveLetter) + u':';
}

QList<std::pair<QString, QString>> drives()
{
    QList<std::pair<QString, QString>> drives;
    for (const QFileInfo &drive : QDir::drives())
        drives.append({drive.path().left(2).toLower(), drive.path()});
    return drives;
}

} // namespace Platform
