#include "pathstore.h"

#include "linereader.h"
#include "nativepath.h"
#include "regularfile.h"
#include "savefile.h"

#include <QFile>

namespace GameDir {

std::optional<QString> readPathStore()
{
    return readPathStore(Platform::nativeFileName(QString(PathStoreName)));
}

std::optional<QString> readPathStore(const QString &nativeName)
{
    QFile file(nativeName);
    if (!Platform::openRegularFile(file, QIODevice::ReadOnly).isEmpty())
        return std::nullopt;
    return readPathStore(file);
}

std::optional<QString> readPathStore(QIODevice &device)
{
    Prefs::LineReader reader(device);
    QByteArray line;
    if (reader.readLine(line, LongestPath) != Prefs::LineReader::Status::Line)
        return std::nullopt;
    return QString::fromLocal8Bit(line);
}

Result checkStorablePath(const QString &path)
{
    if (path.contains(u'\r') || path.contains(u'\n'))
        return {QStringLiteral("The path holds a line break, which path.inf cannot store.")};
    if (path.contains(QChar(u'\0')))
        return {QStringLiteral("The path holds a NUL character, which no path can hold.")};
    // Windows' code page replaces what it lacks by a "best fit" without a word.
    if (QString::fromLocal8Bit(path.toLocal8Bit()) != path)
        return {QStringLiteral("The path holds a character that this system's code page "
                               "cannot store in path.inf.")};
    if (path.toLocal8Bit().size() > LongestPath)
        return {QStringLiteral("The path is longer than %1 bytes, the longest path there is.")
                        .arg(LongestPath)};
    return {};
}

Result writePathStore(const QString &path)
{
    if (Result refused = checkStorablePath(path); !refused.ok())
        return refused;
    return Platform::writeWholeFile(Platform::nativeFileName(QString(PathStoreName)),
                                    (path + QLatin1StringView("\r\n")).toLocal8Bit());
}

} // namespace GameDir
